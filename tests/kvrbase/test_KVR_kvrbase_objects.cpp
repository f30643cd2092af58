// Crosshair, text label and date-time format objects: limits and notifications.
#include <gtest/gtest.h>

#include <cmath>

#include "kvrbase/KVR_kvrbase.h"
#include "tests/SetterCases.h"

namespace {

// What one call of a setter reported through OnChange.
template <class TObject>
auto ChangesOf(TObject& Object) {
  return [&Object](const std::function<void()>& Call) {
    int Changes = 0;
    Object.OnChange = [&Changes](QObject*) { ++Changes; };
    Call();
    Object.OnChange = nullptr;
    return Changes;
  };
}

TEST(CrossHair, EverySetterNotifiesOnlyAChange) {
  TCrossHair C;
  C.SetLayer(1);  // made with layer 0, which the setter would store as 1
  TCrossHair* P = &C;
  ExpectChangesOnly({SETTER_CASE(P, PosX, 2.5), SETTER_CASE(P, PosY, -1.0), SETTER_CASE(P, Color, clRed),
                     SETTER_CASE(P, Mode, chBoth), SETTER_CASE(P, LineType, psDot), SETTER_CASE(P, LineWid, 3),
                     SETTER_CASE(P, Layer, 7)},
                    ChangesOf(C));
}

TEST(DateFormat, EverySetterNotifiesOnlyAChange) {
  TDTLabel D;
  TDTLabel* P = &D;
  ExpectChangesOnly({SETTER_CASE(P, TimeFormat, tfAMPM), SETTER_CASE(P, DateSeparator, '/'),
                     SETTER_CASE(P, TimeSeparator, '.'), SETTER_CASE(P, YearLength, ylYY),
                     SETTER_CASE(P, MonthName, !D.MonthName()), SETTER_CASE(P, DateOrder, doYYMMDD),
                     SETTER_CASE(P, DateForTime, dtAllTicks)},
                    ChangesOf(D));
}

TEST(TextLabel, EverySetterNotifiesOnlyAChange) {
  TTextLabel L;
  TTextLabel* P = &L;
  ExpectChangesOnly({SETTER_CASE(P, PosX, 2.5), SETTER_CASE(P, PosY, -1.0), SETTER_CASE(P, Layer, 7),
                     SETTER_CASE(P, AttachToData, tlamBoth), SETTER_CASE(P, Alignment, taRightJustify),
                     SETTER_CASE(P, VerticalAlignment, vaTop), SETTER_CASE(P, ColorBkg, clRed),
                     SETTER_CASE(P, ColorBorder, clRed), SETTER_CASE(P, ColorShadow, clRed), SETTER_CASE(P, ShadowDx, 9),
                     SETTER_CASE(P, ShadowDy, 9), SETTER_CASE(P, Transparent, !L.Transparent()),
                     SETTER_CASE(P, Font, QFont(QStringLiteral("Serif"), 13)), SETTER_CASE(P, Caption, QStringLiteral("t")),
                     SETTER_CASE(P, Mode, tlShadow), SETTER_CASE(P, Visible, !L.Visible())},
                    ChangesOf(L));
}

TEST(CrossHair, LayerIsLimitedAndEveryChangeNotifies) {
  TCrossHair C;
  int Changes = 0;
  C.OnChange = [&](QObject*) { ++Changes; };
  EXPECT_EQ(C.Layer(), 0);
  EXPECT_EQ(C.Mode(), chOff);
  C.SetLayer(0);
  EXPECT_EQ(C.Layer(), 1);
  C.SetLayer(99);
  EXPECT_EQ(C.Layer(), 16);
  C.SetPosX(1);
  C.SetPosX(1);  // no change: no notification
  C.SetPosY(NAN);
  C.SetPosY(INFINITY);
  EXPECT_EQ(C.PosY(), 0);
  EXPECT_EQ(Changes, 3);
}

TEST(TextLabel, DefaultsAndIgnoredLayers) {
  TTextLabel L;
  int Changes = 0;
  L.OnChange = [&](QObject*) { ++Changes; };
  EXPECT_EQ(L.PosX(), 100);
  EXPECT_EQ(L.PosY(), 10);
  EXPECT_EQ(L.ColorBkg(), clSilver);
  EXPECT_EQ(L.VerticalAlignment(), vaBottom);
  EXPECT_EQ(L.Mode(), tlsimple);
  L.SetLayer(0);
  L.SetLayer(17);
  EXPECT_EQ(L.Layer(), 1);
  EXPECT_EQ(Changes, 0);
  L.SetLayer(5);
  L.SetCaption("x");
  L.SetCaption("x");
  L.SetPosX(-INFINITY);
  EXPECT_EQ(L.PosX(), 100);
  EXPECT_EQ(Changes, 2);
}

TEST(DTLabel, EverySetterNotifiesOnlyOnChange) {
  TDTLabel D;
  int Changes = 0;
  D.OnChange = [&](QObject*) { ++Changes; };
  D.SetDateSeparator('/');
  D.SetDateSeparator('/');
  EXPECT_EQ(Changes, 1);
  D.SetTimeFormat(tfAMPM);
  D.SetTimeFormat(tfAMPM);
  D.SetDateOrder(doYYMMDD);
  D.SetDateOrder(doYYMMDD);
  EXPECT_EQ(Changes, 3);
  TDTLabel Defaults;
  Defaults.SetScaleDefaults();
  EXPECT_EQ(Defaults.DateSeparator(), '-');
  EXPECT_EQ(Defaults.TimeSeparator(), ':');
  EXPECT_EQ(Defaults.YearLength(), ylYYYY);
  EXPECT_TRUE(Defaults.MonthName());
  EXPECT_EQ(Defaults.DateForTime(), dtOnePerDay);
  EXPECT_EQ(Defaults.DateOrder(), doDDMMYY);
  D.Assign(Defaults);
  EXPECT_EQ(D.DateOrder(), doDDMMYY);
  EXPECT_EQ(D.TimeFormat(), tfHHMMSS);
}

}  // namespace
