// Table-driven checks of the setter discipline: for each published setter, a call with
// the value the property has and a call with another value. A test counts what each
// call notified or repainted.
#pragma once

#include <functional>
#include <vector>

struct TSetterCase {
  const char* Name;
  std::function<void()> Same, Other;
};

// Object->SetProp(Object->Prop()), and Object->SetProp(Other).
#define SETTER_CASE(Object, Prop, Other) \
  TSetterCase { #Prop, [=] { (Object)->Set##Prop((Object)->Prop()); }, [=, V = (Other)] { (Object)->Set##Prop(V); } }

// Runs every case against Count (what one call caused): nothing for the same value, at
// least one for another.
template <class TCount>
void ExpectChangesOnly(const std::vector<TSetterCase>& Cases, TCount&& Count) {
  for (const TSetterCase& C : Cases) {
    EXPECT_EQ(Count(C.Same), 0) << C.Name << " with the value it has";
    EXPECT_GE(Count(C.Other), 1) << C.Name << " with another value";
    EXPECT_EQ(Count(C.Same), 0) << C.Name << " with the new value again";
  }
}
