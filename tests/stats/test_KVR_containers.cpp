// Vector and matrix containers: 1-based access, notifications, sizes, allocation failure.
#include <gtest/gtest.h>

#include "stats/KVR_alloc.h"
#include "stats/KVR_matrix.h"
#include "stats/KVR_vector.h"

namespace {

// Makes every allocation of at least MinCount doubles fail while it lives.
class TFailingAllocations {
public:
  explicit TFailingAllocations(size_t MinCount)
      : Previous_(SetAllocationFailure([MinCount](size_t Count) { return Count >= MinCount; })) {}
  ~TFailingAllocations() { SetAllocationFailure(Previous_); }

private:
  TAllocationFailure Previous_;
};

TEST(Vector, OutOfRangeReadsZeroAndWritesAreIgnoredSilently) {
  TVector V;
  V.SetNrOfElem(3);
  int Changes = 0;
  V.OnChange = [&](QObject* Sender) { EXPECT_EQ(Sender, &V); ++Changes; };
  V.SetElem(0, 5);
  V.SetElem(4, 5);
  EXPECT_EQ(Changes, 0);
  V.SetElem(3, 7.5);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(V.Elem(3), 7.5);
  EXPECT_EQ(V.Elem(0), 0.0);
  EXPECT_EQ(V.Elem(4), 0.0);
}

TEST(Vector, SizeRules) {
  TVector V;
  EXPECT_EQ(V.NrOfElem(), 1);
  V.SetElem(1, 2.0);
  int Changes = 0;
  V.OnChange = [&](QObject*) { ++Changes; };
  V.SetNrOfElem(0);
  V.SetNrOfElem(-3);
  V.SetNrOfElem(1);
  EXPECT_EQ(Changes, 0);
  EXPECT_FALSE(V.Resize(0));
  EXPECT_TRUE(V.Resize(1));
  EXPECT_TRUE(V.Resize(4));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(V.NrOfElem(), 4);
  EXPECT_EQ(V.Elem(1), 2.0);
  EXPECT_EQ(V.Elem(4), 0.0);
  V.Clear();
  EXPECT_EQ(V.Elem(1), 0.0);
  EXPECT_EQ(Changes, 2);
}

TEST(Matrix, GrowingKeepsTheOverlapAndZerosTheRest) {
  TMatrix M;
  M.Resize(2, 1000);
  for (int R = 1; R <= 1000; ++R) M.SetElem(1, R, R), M.SetElem(2, R, -R);
  M.Resize(2, 2000);
  EXPECT_EQ(M.Elem(1, 1000), 1000.0);
  EXPECT_EQ(M.Elem(2, 1), -1.0);
  EXPECT_EQ(M.Elem(1, 1001), 0.0);
  EXPECT_EQ(M.Elem(2, 2000), 0.0);
  EXPECT_EQ(M.Elem(3, 1), 0.0);
  EXPECT_EQ(M.Elem(1, 2001), 0.0);
  M.SetNrOfRows(-5);
  EXPECT_EQ(M.NrOfRows(), 1);
  EXPECT_EQ(M.NrOfColumns(), 2);
  EXPECT_EQ(M.Elem(2, 1), -1.0);
  M.SetNrOfColumns(0);
  EXPECT_EQ(M.NrOfColumns(), 1);
}

TEST(Matrix, FillNotifiesOnceAndOutOfRangeWritesNotAtAll) {
  TMatrix M;
  M.Resize(2, 1000);
  int Changes = 0;
  M.OnChange = [&](QObject*) { ++Changes; };
  M.Fill(0.0);
  EXPECT_EQ(Changes, 1);
  M.SetElem(0, 1, 1);
  M.SetElem(3, 1, 1);
  M.SetElem(1, 1001, 1);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(M.DataID(), "");
}

TEST(Containers, AllocationFailuresNameTheComponentAndChangeNothing) {
  TVector V;
  V.SetName("Sums");
  TMatrix M;
  M.SetName("Pairs");
  M.Resize(2, 10);
  M.SetElem(2, 10, 4.0);
  TFailingAllocations Fail(100);
  try {
    V.Resize(100);
    FAIL();
  } catch (const EKVRVectorError& E) {
    EXPECT_STREQ(E.what(), "Component \"Sums\": not enough memory");
  }
  EXPECT_EQ(V.NrOfElem(), 1);
  try {
    M.Resize(2, 100);
    FAIL();
  } catch (const EKVRMatrixError& E) {
    EXPECT_STREQ(E.what(), "Component \"Pairs\": not enough memory on heap");
  }
  EXPECT_EQ(M.NrOfRows(), 10);
  EXPECT_EQ(M.Elem(2, 10), 4.0);
}

TEST(Containers, ConstructionFailureShowsAnEmptyName) {
  TFailingAllocations Fail(1);
  try {
    TVector V;
    FAIL();
  } catch (const EKVRError& E) {
    EXPECT_STREQ(E.what(), "Component \"\": not enough memory on heap");
  }
  EXPECT_THROW(TMatrix(), EKVRMatrixError);
}

}  // namespace
