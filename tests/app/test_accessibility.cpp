// Keyboard and screen-reader use of the main window, and a crisp picture at scale 2.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <set>

#include "app/uswivel.h"

namespace {

QString NameOf(QWidget* W) {
  QAccessibleInterface* A = QAccessible::queryAccessibleInterface(W);
  return A ? A->text(QAccessible::Name) : QString();
}

struct TShown {
  TForm1 Form;
  TShown() {
    Form.SetSeed(2);
    Form.show();
  }
};

TEST(Accessibility, EveryControlHasAName) {
  TShown S;
  TForm1& F = S.Form;
  EXPECT_EQ(NameOf(F.BButNext), F.BButNext->text());
  EXPECT_FALSE(NameOf(F.BButNext).isEmpty());
  EXPECT_EQ(NameOf(F.SBarRotate), F.Label2->text());
  EXPECT_EQ(NameOf(F.SBarMagnif), F.LblMagnif->text());
  EXPECT_FALSE(NameOf(F.Memo1).isEmpty());
  EXPECT_FALSE(NameOf(F.Plotter1).isEmpty());
  EXPECT_EQ(NameOf(F.RdoRxy), F.RdoRxy->LeftText());  // the readout: a labelled value
}

QString ValueOf(QWidget* W) { return QAccessible::queryAccessibleInterface(W)->text(QAccessible::Value); }

TEST(Accessibility, RolesAndValuesInTheUsersUnits) {
  TShown S;
  TForm1& F = S.Form;
  QAccessibleInterface* Window = QAccessible::queryAccessibleInterface(&F);
  EXPECT_EQ(Window->role(), QAccessible::Window);
  EXPECT_EQ(Window->text(QAccessible::Name), F.windowTitle());
  EXPECT_FALSE(F.windowTitle().isEmpty());

  QAccessibleInterface* Rotate = QAccessible::queryAccessibleInterface(F.SBarRotate);
  EXPECT_EQ(Rotate->role(), QAccessible::Slider);
  F.SBarRotate->SetPosition(1355);
  EXPECT_EQ(ValueOf(F.SBarRotate), QString::fromUtf8("135.5°"));
  ASSERT_TRUE(Rotate->valueInterface());
  EXPECT_DOUBLE_EQ(Rotate->valueInterface()->currentValue().toDouble(), 135.5);
  F.SBarRotate->SetPosition(102);  // 102 x 0.1 is 10.200000000000001 in binary
  EXPECT_EQ(Rotate->valueInterface()->currentValue().toDouble(), 10.2);
  EXPECT_EQ(Rotate->valueInterface()->minimumStepSize().toDouble(), 0.1);
  EXPECT_DOUBLE_EQ(Rotate->valueInterface()->maximumValue().toDouble(), 360);
  Rotate->valueInterface()->setCurrentValue(90.0);  // an assistive tool sets degrees
  EXPECT_EQ(F.SBarRotate->Position(), 900);
  Rotate->valueInterface()->setCurrentValue(QStringLiteral("nonsense"));
  EXPECT_EQ(F.SBarRotate->Position(), 900);

  QAccessibleInterface* Readout = QAccessible::queryAccessibleInterface(F.RdoRxy);
  EXPECT_EQ(Readout->text(QAccessible::Name), F.RdoRxy->LeftText());
  EXPECT_EQ(Readout->text(QAccessible::Value), F.RdoRxy->DisplayText());
  ASSERT_TRUE(Readout->valueInterface());
  // The number as shown, not the value behind it.
  EXPECT_EQ(Readout->valueInterface()->currentValue().toDouble(), F.RdoRxy->DisplayText().toDouble());
  EXPECT_NE(F.RdoRxy->Value(), F.RdoRxy->DisplayText().toDouble());
  EXPECT_TRUE(Readout->state().focusable);

  // The memo's text can be read through the text interface.
  QAccessibleInterface* Memo = QAccessible::queryAccessibleInterface(F.Memo1);
  ASSERT_TRUE(Memo->textInterface());
  const QString Text = Memo->textInterface()->text(0, Memo->textInterface()->characterCount());
  EXPECT_EQ(Text, F.Memo1->toPlainText());
  EXPECT_FALSE(Text.isEmpty());
}

TEST(Accessibility, NamesFollowTheLanguage) {
  TStartMode German;
  German.DictionaryFile = QStringLiteral(SWIVEL_SOURCE_DIR "/swivel.de.itl");
  TForm1 F(German);
  F.SetSeed(2);
  F.show();
  EXPECT_EQ(NameOf(&F), QString::fromUtf8("Swivel - Regression und gedrehte Daten"));
  EXPECT_EQ(NameOf(F.RdoRxy), QString::fromUtf8("Bestimmtheit r²"));
  EXPECT_EQ(NameOf(F.SBarRotate), QString::fromUtf8("Mit dieser Bildlaufleiste die Daten drehen"));
  EXPECT_EQ(NameOf(F.Memo1), QString::fromUtf8("Erklärung des Lernschritts"));
  EXPECT_EQ(NameOf(F.BButNext), F.BButNext->text());
}

// The chart's menu opens by keyboard from the rotate bar, as from every control but the
// memo, and is worked with the arrows and Enter; the focus then returns where it was.
TEST(ChartMenu, OpensByKeyboardAndSwitchesAnOverlay) {
  TShown S;
  TForm1& F = S.Form;
  F.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
  ASSERT_TRUE(F.SBarRotate->hasFocus());
  QTest::keyClick(F.SBarRotate, Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(F.PopupMenu1->isVisible());
  EXPECT_EQ(F.PopupMenu1->activeAction(), F.ActResiduals);
  QTest::keyClick(F.PopupMenu1, Qt::Key_Down);
  QTest::keyClick(F.PopupMenu1, Qt::Key_Return);
  EXPECT_FALSE(F.PopupMenu1->isVisible());
  EXPECT_TRUE(F.Overlays().Squares);
  EXPECT_FALSE(F.Overlays().Residuals);
  EXPECT_TRUE(F.SBarRotate->hasFocus());
  // The Menu key as well; Escape closes without a change.
  QTest::keyClick(F.SBarRotate, Qt::Key_Menu);
  ASSERT_TRUE(F.PopupMenu1->isVisible());
  QTest::keyClick(F.PopupMenu1, Qt::Key_Escape);
  EXPECT_FALSE(F.PopupMenu1->isVisible());
  EXPECT_TRUE(F.Overlays().Squares);
  for (QWidget* Control : std::initializer_list<QWidget*>{F.BButNext, F.RdoRxy}) {
    Control->setFocus();
    QTest::keyClick(Control, Qt::Key_Menu);
    ASSERT_TRUE(F.PopupMenu1->isVisible()) << Control->objectName().toStdString();
    QTest::keyClick(F.PopupMenu1, Qt::Key_Escape);
    EXPECT_TRUE(Control->hasFocus());
  }
  // The memo keeps its own keys.
  F.Memo1->setFocus();
  QTest::keyClick(F.Memo1, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_FALSE(F.PopupMenu1->isVisible());
  // A right click on the chart opens it too.
  QContextMenuEvent Click(QContextMenuEvent::Mouse, QPoint(100, 100), F.Plotter1->mapToGlobal(QPoint(100, 100)));
  QApplication::sendEvent(F.Plotter1, &Click);
  EXPECT_TRUE(F.PopupMenu1->isVisible());
  F.PopupMenu1->close();
  // Copy and Save answer their keys with the menu closed.
  EXPECT_EQ(F.ActCopyFigure->shortcut(), QKeySequence(QKeySequence::Copy));
  EXPECT_EQ(F.ActSaveFigure->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_TRUE(F.actions().contains(F.ActCopyFigure) && F.actions().contains(F.ActSaveFigure));
  QGuiApplication::clipboard()->clear();
  F.SBarRotate->setFocus();
  QTest::keyClick(F.SBarRotate, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), F.Plotter1->size());
  // The Menu key's context-menu request opens no menu of a scroll bar's own.
  for (TScrollBar* Bar : {F.SBarRotate, F.SBarMagnif}) {
    bool Opened = false;
    QTimer::singleShot(0, [&] {
      if (QWidget* Popup = QApplication::activePopupWidget()) {
        Opened = true;
        Popup->close();
      }
    });
    QContextMenuEvent Request(QContextMenuEvent::Keyboard, QPoint(2, 2), Bar->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(Bar, &Request);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Opened) << Bar->objectName().toStdString();
  }
}

TEST(ChartMenu, EntriesAreNamedFromTheDictionaryForScreenReaders) {
  TStartMode German;
  German.DictionaryFile = QStringLiteral(SWIVEL_SOURCE_DIR "/swivel.de.itl");
  TForm1 F(German);
  F.show();
  F.PopupChartMenu(F.Plotter1->mapToGlobal(QPoint(50, 50)), true);
  QAccessibleInterface* Menu = QAccessible::queryAccessibleInterface(F.PopupMenu1);
  ASSERT_TRUE(Menu);
  EXPECT_EQ(Menu->role(), QAccessible::PopupMenu);
  EXPECT_EQ(Menu->text(QAccessible::Name), QString::fromUtf8("Menü des Diagramms"));
  ASSERT_EQ(Menu->childCount(), 6);  // three overlays, a separator, copy and save
  const char* Names[] = {"Residuen", "Quadrate der Residuen", "Quadrate um den Mittelwert", nullptr,
                         "Abbildung kopieren", "Abbildung speichern…"};
  for (int I = 0; I < 6; ++I) {
    if (!Names[I]) continue;
    QAccessibleInterface* Entry = Menu->child(I);
    EXPECT_EQ(Entry->role(), QAccessible::MenuItem);
    EXPECT_EQ(Entry->text(QAccessible::Name), QString::fromUtf8(Names[I]));
    EXPECT_EQ(Entry->state().checkable, I < 3) << I;
  }
  F.SetOverlays({false, true, false});
  EXPECT_TRUE(Menu->child(1)->state().checked);
  EXPECT_FALSE(Menu->child(0)->state().checked);
  F.PopupMenu1->close();
}

// The readout's value-change events (the offscreen platform has no active assistive
// technology, so they are observed through the readout's signal).
TEST(Accessibility, TheReadoutAnnouncesChangesWithoutFloodingWhileTurning) {
  TShown S;
  TForm1& F = S.Form;
  QTest::qWait(TReadout::AnnounceIntervalMs * 3);  // the first value has been told
  QSignalSpy Told(F.RdoRxy, &TReadout::Announced);
  F.SBarRotate->SetPosition(100);
  ASSERT_EQ(Told.size(), 1);  // the first change is told at once
  EXPECT_EQ(Told[0][0].toString(), F.RdoRxy->DisplayText());
  for (int P = 101; P < 160; ++P) F.SBarRotate->SetPosition(P);  // turning on
  EXPECT_EQ(Told.size(), 1);
  // Once the turning stops, the last value is told.
  ASSERT_TRUE(Told.wait(TReadout::AnnounceIntervalMs * 4));
  EXPECT_EQ(Told[1][0].toString(), F.RdoRxy->DisplayText());
  QTest::qWait(TReadout::AnnounceIntervalMs * 2);
  EXPECT_EQ(Told.size(), 2);  // and nothing more while it stands still
}

TEST(Keyboard, StepsOfTheRotateAndMagnificationBars) {
  TShown S;
  TForm1& F = S.Form;
  QTest::keyClick(F.SBarRotate, Qt::Key_Right);
  EXPECT_EQ(F.SBarRotate->Position(), 1);  // a tenth of a degree
  QTest::keyClick(F.SBarRotate, Qt::Key_PageDown);
  EXPECT_EQ(F.SBarRotate->Position(), 51);  // five degrees
  QTest::keyClick(F.SBarRotate, Qt::Key_End);
  EXPECT_EQ(F.SBarRotate->Position(), 3600);
  F.SBarRotate->SetPosition(0);
  // A click in the trough right of the handle moves a page.
  QTest::mouseClick(F.SBarRotate, Qt::LeftButton, {}, QPoint(F.SBarRotate->width() - 40, F.SBarRotate->height() / 2));
  EXPECT_EQ(F.SBarRotate->Position(), 50);
  QWheelEvent Notch(QPointF(10, 8), F.SBarRotate->mapToGlobal(QPointF(10, 8)), {}, {0, -120}, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(F.SBarRotate, &Notch);
  EXPECT_EQ(F.SBarRotate->Position(), 100);
  EXPECT_GT(F.SBarMagnif->LargeChange(), 1);
}

TEST(Keyboard, ClicksLeaveTheFocusOnTheRotateBarAndTheFocusIsVisible) {
  TShown S;
  TForm1& F = S.Form;
  QApplication::setActiveWindow(&F);
  F.SBarRotate->setFocus();
  QTest::mouseClick(F.Plotter1, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(QApplication::focusWidget(), F.SBarRotate);
  QTest::mouseClick(F.BButNext, Qt::LeftButton);
  EXPECT_EQ(F.LessonStep, 2);
  EXPECT_EQ(QApplication::focusWidget(), F.SBarRotate);
  // A frame in the highlight colour marks the focused control, and moves with the focus.
  const QRgb Highlight = F.palette().color(QPalette::Highlight).rgb();
  auto Framed = [&](QWidget* W) {
    const QImage Picture = F.grab().toImage();
    const QPoint Edge = W->mapTo(&F, QPoint(W->width() / 2, W->height()));  // just below the control
    return Picture.pixel(Edge) == Highlight && Picture.pixel(Edge + QPoint(0, 1)) == Highlight;
  };
  EXPECT_TRUE(Framed(F.SBarRotate));
  EXPECT_FALSE(Framed(F.Memo1));
  F.Memo1->setFocus();
  EXPECT_TRUE(Framed(F.Memo1));
  EXPECT_FALSE(Framed(F.SBarRotate));
}

TEST(Keyboard, TheLastStepHandsTheFocusToTheRotateBar) {
  for (const bool FromMagnification : {false, true}) {
    TShown S;
    TForm1& F = S.Form;
    QApplication::setActiveWindow(&F);
    while (F.LessonStep < 4) F.BButNextClick(F.BButNext);
    (FromMagnification ? static_cast<QWidget*>(F.SBarMagnif) : F.BButNext)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    if (FromMagnification) F.BButNextClick(F.BButNext);  // Next pressed with the mouse
    EXPECT_EQ(F.LessonStep, 5);
    EXPECT_EQ(QApplication::focusWidget(), F.SBarRotate);
  }
}

TEST(Keyboard, ResetFromTheMagnificationBarHandsTheFocusToTheRotateBar) {
  TShown S;
  TForm1& F = S.Form;
  QApplication::setActiveWindow(&F);
  while (F.LessonStep < 4) F.BButNextClick(F.BButNext);
  F.SBarMagnif->setFocus();
  F.BButResetClick(F.BButReset);  // Reset pressed with the mouse: the bar goes with step 1
  EXPECT_EQ(F.LessonStep, 1);
  EXPECT_FALSE(F.SBarMagnif->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), F.SBarRotate);
}

TEST(Accessibility, TabFollowsTheDesignAndKeysDoEverything) {
  TShown S;
  TForm1& F = S.Form;
  QApplication::setActiveWindow(&F);
  F.SBarRotate->setFocus();
  std::vector<QWidget*> Order;
  for (QWidget* W = F.SBarRotate; Order.size() < 7; W = W->nextInFocusChain())
    if (W->focusPolicy() & Qt::TabFocus && W->isVisibleTo(&F)) Order.push_back(W);
  EXPECT_EQ(Order, (std::vector<QWidget*>{F.SBarRotate, F.RdoRxy, F.BButReset, F.BButOK, F.BButAbout, F.BButNext,
                                          F.Memo1}));
  // Arrows turn the cloud; Enter on a focused button presses it.
  QTest::keyClick(F.SBarRotate, Qt::Key_Right);
  EXPECT_EQ(F.SBarRotate->Position(), 1);
  F.BButNext->setFocus();
  QTest::keyClick(&F, Qt::Key_Return);
  EXPECT_EQ(F.LessonStep, 2);
  QTest::keyClick(F.BButNext, Qt::Key_Space);
  EXPECT_EQ(F.LessonStep, 3);
}

TEST(HighDpi, TheWindowRendersAtTwiceTheSizeWithSharpLines) {
  QTemporaryDir Dir;
  QProcess P;
  QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
  Env.insert("QT_SCALE_FACTOR", "2");
  P.setProcessEnvironment(Env);
  P.start(QStringLiteral(SWIVEL_BINARY), {"--seed", "4", "--snapshot", Dir.filePath("x2.png")});
  ASSERT_TRUE(P.waitForFinished(30000));
  const QImage Picture(Dir.filePath("x2.png"));
  ASSERT_EQ(Picture.size(), QSize(990, 1022));
  // Inside the chart area only its own colours appear: no blurred in-between shades.
  std::set<QRgb> Colours;
  for (int Y = 2 * 169 + 2; Y < 2 * 409; ++Y)
    for (int X = 2 * 153 + 2; X < 2 * 465; ++X) Colours.insert(Picture.pixel(X, Y) & 0xFFFFFF);
  EXPECT_LE(Colours.size(), 3u);  // white, the black marks, the red line
  // The chart frame's left edge is two device pixels wide and sharp.
  EXPECT_EQ(Picture.pixel(2 * 152, 600) & 0xFFFFFF, 0u);
  EXPECT_EQ(Picture.pixel(2 * 152 + 1, 600) & 0xFFFFFF, 0u);
  EXPECT_EQ(Picture.pixel(2 * 152 + 2, 600) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
