// The display list: appending, clearing, showing, and sharing one list between charts.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>

#include "chart/KVR_plotter.h"
#include "toolkit/MessageBox.h"

namespace {
constexpr int MaxDataUsers = 4;
}

static_assert(std::is_trivially_copyable_v<TChartItem>, "items are moved as bytes");
static_assert(sizeof(TChartItem) == 48, "an item takes 48 bytes");

TCustomPlotter::TItemStore::TItemStore(const TItemStore& Other)
    : Count(Other.Count), Capacity(Other.Capacity), Reserved(Other.Capacity) {
  if (Capacity == 0) return;
  Data = static_cast<TChartItem*>(std::malloc(sizeof(TChartItem) * static_cast<size_t>(Capacity)));
  if (!Data) throw std::bad_alloc();
  std::memcpy(Data, Other.Data, sizeof(TChartItem) * static_cast<size_t>(Count));
}

TCustomPlotter::TItemStore::~TItemStore() { std::free(Data); }

// Half as much again as is held, or Slots if that is more. When memory is short, exactly
// Slots is tried before giving up.
void TCustomPlotter::TItemStore::Reserve(int Slots) {
  const int Ample = Reserved > INT_MAX / 3 * 2 ? INT_MAX : std::max(Slots, Reserved + Reserved / 2);
  for (const int Try : {Ample, Slots}) {
    if (auto* Grown = static_cast<TChartItem*>(std::realloc(Data, sizeof(TChartItem) * static_cast<size_t>(Try)))) {
      Data = Grown;
      Reserved = Try;
      return;
    }
  }
  throw std::bad_alloc();
}

void TCustomPlotter::TItemStore::Push(const TChartItem& Item, int Grow) {
  if (Count >= Capacity) {
    if (Capacity == INT_MAX) throw EKVRPlotterError("The chart holds the most items it can");
    const int Slots = Capacity > INT_MAX - Grow ? INT_MAX : Capacity + Grow;
    if (Slots > Reserved) Reserve(Slots);
    Capacity = Slots;
  }
  Data[Count++] = Item;
}

// The block stays reserved: a list cleared and filled again, as a redraw does, reuses
// its pages instead of having fresh ones mapped in one by one.
void TCustomPlotter::TItemStore::Clear() { Count = Capacity = 0; }

const TChartItem& TCustomPlotter::Item(int Index) const {
  if (Index < 0 || Index >= Store_->Count)
    throw EKVRPlotterError("Item index " + std::to_string(Index) + " is out of range");
  return Store_->Data[Index];
}

int TCustomPlotter::GroupSize() const {
  const TCustomPlotter* Owner = UseDataOf_ ? UseDataOf_.data() : this;
  return 1 + Owner->DataUserCount();
}

// A chart that left a group, or whose owner is gone, still shows the list it shared
// until its own list changes. So a list held beyond the group is never written: the
// group takes a list of its own first, which every member then holds.
// The group holds the new list before anything is written to it, so a failed append
// cannot split the group.
TCustomPlotter::TItemStore& TCustomPlotter::WritableStore(bool Emptied) {
  if (Store_.use_count() > GroupSize()) {
    Store_ = Emptied ? std::make_shared<TItemStore>() : std::make_shared<TItemStore>(*Store_);
    SyncSharedData();
  }
  return *Store_;
}

// Appends an item of Kind at (X1, Y1) .. (X2, Y2) with the current drawing attributes.
void TCustomPlotter::Append(TChartItemKind Kind, double X1, double Y1, double X2, double Y2, uint8_t MarkType,
                            uint8_t FillOpacity) {
  TChartItem Item;
  Item.ChartItemKind = Kind;
  Item.X1 = X1;
  Item.Y1 = Y1;
  Item.X2 = X2;
  Item.Y2 = Y2;
  Item.MarkType = MarkType;
  Item.FillOpacity = FillOpacity;
  Item.Color = DataColor_;
  Item.PenStyle = PenStyle_;
  Item.LineWidth = LineWidth_;
  Item.Layer = CurrentLayer_;
  WritableStore(false).Push(Item, AllocSize_);  // the group holds this store already
}

void TCustomPlotter::AddMark(double X, double Y, uint8_t MarkType) { Append(ikMark, X, Y, 0, 0, MarkType); }

void TCustomPlotter::AddLine(double X1, double Y1, double X2, double Y2) { Append(ikLine, X1, Y1, X2, Y2, 0); }

void TCustomPlotter::AddRectangle(double X1, double Y1, double X2, double Y2, uint8_t FillOpacity) {
  Append(ikRectangle, X1, Y1, X2, Y2, 0, FillOpacity);
}

void TCustomPlotter::ClearItems() {
  BackgroundPending_ = true;
  WritableStore(true).Clear();
  SyncSharedData();
}

void TCustomPlotter::Redisplay() {
  if (VisibleProperty(this) || HasState(csDesigning)) {
    SyncSharedData();
    if (AutoRedraw_ && CanPaint()) {
      RenderBackground();
      RenderData();
      PresentImage(ChartAreaImage_, ImageLeft(), ImageTop());
    } else if (!AutoRedraw_) {
      Paint();
    }
  }
  if (UseDataOf_) {
    UseDataOf_->Repaint();
    for (const auto& User : UseDataOf_->DataUsers_)
      if (User) User->Repaint();
  }
  for (const auto& User : DataUsers_)
    if (User) User->Repaint();
}

// Every chart of a group holds the same store, so a change through any of them is seen
// by all.
void TCustomPlotter::SyncSharedData() {
  if (UseDataOf_) {
    UseDataOf_->Store_ = Store_;
    for (const auto& User : UseDataOf_->DataUsers_)
      if (User) User->Store_ = Store_;
  }
  for (const auto& User : DataUsers_)
    if (User) User->Store_ = Store_;
}

TCustomPlotter* TCustomPlotter::DataUsers(int Index) const {
  return Index >= 0 && Index < DataUserCount() ? DataUsers_[static_cast<size_t>(Index)].data() : nullptr;
}

void TCustomPlotter::RemoveFromOwner() {
  if (!UseDataOf_) return;
  auto& Users = UseDataOf_->DataUsers_;
  Users.erase(std::remove(Users.begin(), Users.end(), QPointer<TCustomPlotter>(this)), Users.end());
  // The list last shared stays on show; it is copied only if someone writes to it.
  UseDataOf_ = nullptr;
}

void TCustomPlotter::SetUseDataOf(TCustomPlotter* V) {
  if (V == this) return ShowInformation(QStringLiteral("Plotter: Cannot share data with myself"));
  if (!DataUsers_.empty())
    return ShowInformation(QStringLiteral("Plotter: Cannot use foreign data. Other Plotters are using my own data."));
  if (V == UseDataOf_) return;
  if (!V) {
    RemoveFromOwner();
    Repaint();
    return;
  }
  TCustomPlotter* Owner = V->UseDataOf_ ? V->UseDataOf_.data() : V;  // groups are one level deep
  if (Owner->DataUserCount() >= MaxDataUsers)
    return ShowInformation(QStringLiteral("Plotter: Max. number of data shares exceeded"));
  RemoveFromOwner();
  UseDataOf_ = Owner;
  Store_ = Owner->Store_;
  Owner->DataUsers_.emplace_back(this);
  Repaint();
}

void TCustomPlotter::SetClassDefault(uint8_t V) {
  if (V != 255) ClassDefault_ = V;
}

void TCustomPlotter::SetAllocSize(int V) {
  if (V >= 1 && V <= 1000000) AllocSize_ = V;
}
