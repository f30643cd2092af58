// The calendar branch of the axis engine.
#include "chart/KVR_Scale.h"

void TScale::DrawDateTimeTicks(TAxisPass&) {}
