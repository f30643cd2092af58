// The lesson's point cloud as pure computation: 15 points drawn around the diagonal and
// turned by the rotate bar. The window draws it; the lesson's sweep test checks over
// many clouds that the explanation texts hold for every one of them.
#pragma once

#include <array>
#include <random>

struct TDataPoint {
  double X = 0, Y = 0;
};

using TPointCloud = std::array<TDataPoint, 15>;

// x uniform in [-5, 5), y = x + u with u uniform in [-2, 2): a long, thin cloud along
// y = x. Each point takes two draws of the generator, x before u.
TPointCloud GenerateCloud(std::mt19937_64& Random);

// The cloud turned clockwise on screen by Position tenths of a degree.
TPointCloud RotateCloud(const TPointCloud& Points, int Position);

// The rotate bar counts tenths of a degree.
constexpr double DegreesOf(int Position) { return Position / 10.0; }

// The rotate bar's range and opening position in a lesson step that narrows it.
struct TRotateRange {
  int Min, Max, Start;
};
// Step 2: the zero of r² where the cloud stands upright lies inside.
constexpr TRotateRange UprightRange{1100, 1600, 1350};
// Step 3: a quarter turn back, the zero where the cloud lies flat.
constexpr TRotateRange FlatRange{200, 700, 450};
// Step 4: around the same opening angle, with the magnification bar.
constexpr TRotateRange MagnifyRange{350, 550, 450};
