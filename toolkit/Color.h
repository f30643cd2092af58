// Colours of the component library: 0x00BBGGRR values, or 0x80000000 + n for the
// system colour n. This is the only place that converts them to and from Qt's
// 0xAARRGGBB pixels.
#pragma once

#include <QRgb>
#include <cstdint>

using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor SystemColor(int Index) { return static_cast<TColor>(0x80000000u + static_cast<uint32_t>(Index)); }
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);

constexpr bool IsSystemColor(TColor Color) { return Color < 0; }

// The plain 0x00BBGGRR value of a system colour, from the application's palette.
TColor SystemColorToRGB(TColor Color);

// A plain 0x00BBGGRR value; system colours are resolved.
inline TColor ColorToRGB(TColor Color) { return IsSystemColor(Color) ? SystemColorToRGB(Color) : Color & 0x00FFFFFF; }

// Qt pixel (opaque) of a colour, and back.
inline QRgb ToQRgb(TColor Color) {
  const auto Bgr = static_cast<uint32_t>(ColorToRGB(Color));
  return 0xFF000000u | ((Bgr & 0xFF) << 16) | (Bgr & 0xFF00) | ((Bgr >> 16) & 0xFF);
}
inline TColor FromQRgb(QRgb Pixel) {
  return static_cast<TColor>(((Pixel & 0xFF) << 16) | (Pixel & 0xFF00) | ((Pixel >> 16) & 0xFF));
}
