// Rectangle, point and number routines that every skin painter calls.
// Rectangles have exclusive right and bottom edges.
#pragma once

#include <string>

#include "widgets/rtl/sysutils.h"

// ---- Rectangles, points and numbers ----------------------------------------

// R.Right - R.Left; 0 when that is negative and NotNegative.
inline int RectWidth(const TRect& R, bool NotNegative = false) {
  int w = R.Right - R.Left;
  return (NotNegative && w < 0) ? 0 : w;
}
inline int RectHeight(const TRect& R, bool NotNegative = false) {
  int h = R.Bottom - R.Top;
  return (NotNegative && h < 0) ? 0 : h;
}
// The arguments come right and bottom first, so (W, H) alone gives (0, 0, W, H).
constexpr TRect MakeRect(int Right, int Bottom, int Left = 0, int Top = 0) {
  return TRect(Left, Top, Right, Bottom);
}
constexpr TRect SizeRect(const TPoint& Size) {
  return TRect(0, 0, Size.X, Size.Y);
}
inline TPoint RectSize(const TRect& R) {
  return {RectWidth(R, true), RectHeight(R, true)};
}
constexpr TPoint MakePoint(int X, int Y) {
  return {X, Y};
}
constexpr TSize MakeSize(int cx, int cy) {
  return {cx, cy};
}
constexpr TRect ShiftRect(const TRect& R, int D) {
  return TRect(R.Left + D, R.Top + D, R.Right + D, R.Bottom + D);
}
constexpr TRect OffsetRectBy(const TRect& R, int DX, int DY) {
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}
// May come out inverted when A and B do not meet.
constexpr TRect RectIntersection(const TRect& A, const TRect& B) {
  return TRect(A.Left > B.Left ? A.Left : B.Left, A.Top > B.Top ? A.Top : B.Top,
               A.Right < B.Right ? A.Right : B.Right, A.Bottom < B.Bottom ? A.Bottom : B.Bottom);
}
constexpr TRect RectUnion(const TRect& A, const TRect& B) {
  return TRect(A.Left < B.Left ? A.Left : B.Left, A.Top < B.Top ? A.Top : B.Top,
               A.Right > B.Right ? A.Right : B.Right, A.Bottom > B.Bottom ? A.Bottom : B.Bottom);
}
// Rectangles that only touch at an edge do not overlap; an empty R never does.
constexpr bool RectOverlaps(const TRect& Bounds, const TRect& R) {
  if (Bounds.Top >= R.Bottom || Bounds.Left >= R.Right || R.Left >= Bounds.Right ||
      R.Top >= Bounds.Bottom)
    return false;
  return R.Right > R.Left && R.Bottom > R.Top;
}
// Outer counts its right and bottom edges as inside. Whole: both corners of
// Inner must lie in it; otherwise one is enough.
constexpr bool RectInRect(const TRect& Outer, const TRect& Inner, bool Whole) {
  auto inside = [&](int x, int y) {
    return x >= Outer.Left && x < Outer.Right + 1 && y >= Outer.Top && y < Outer.Bottom + 1;
  };
  bool a = inside(Inner.Left, Inner.Top), b = inside(Inner.Right, Inner.Bottom);
  return Whole ? (a && b) : (a || b);
}

constexpr int IntMax(int A, int B) {
  return A > B ? A : B;
}
// Min is tested first, so Min wins when Min > Max.
constexpr int ClampInt(int Value, int Min, int Max) {
  return Value < Min ? Min : (Value > Max ? Max : Value);
}
inline void SwapInt(int& A, int& B) {
  int t = A;
  A = B;
  B = t;
}
// Lo <= Value <= Hi; with AnyOrder also Hi <= Value <= Lo when Hi <= Lo.
constexpr bool ValueBetween(int Value, int Lo, int Hi, bool AnyOrder) {
  if (AnyOrder && Hi <= Lo) return Hi <= Value && Value <= Lo;
  return Lo <= Value && Value <= Hi;
}
constexpr bool IndexInRange(int Index, int Count, int Low = 0) {
  return Low <= Index && Index < Count;
}
constexpr int ChooseInt(bool Flag, int A, int B) {
  return Flag ? A : B;
}
inline std::string ChooseStr(bool Flag, const std::string& A, const std::string& B) {
  return Flag ? A : B;
}
