// Crosshair, text label and date-time format objects: limits and notifications.
#include <gtest/gtest.h>

#include <cmath>

#include "kvrbase/KVR_kvrbase.h"

namespace {

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
