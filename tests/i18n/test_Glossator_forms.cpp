// Form translation: text properties, axis captions, string lists and ownership.
#include <gtest/gtest.h>

#include <QPushButton>

#include "chart/KVR_plotter.h"
#include "i18n/Glossator.h"
#include "readout/KVR_Readout.h"
#include "toolkit/Collection.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Translatable.h"

namespace {

struct TWindow {
  QWidget Window;
  TComponent Owner;  // the window's ownership list
  QPushButton* Button = new QPushButton(QStringLiteral("GL_Reset"), &Window);
  TReadout* Readout = new TReadout(&Window);
  TMemo* Memo = new TMemo(&Window);
  TPlotter* Chart = new TPlotter(&Window);
  TWindow() {
    Window.setWindowTitle(QStringLiteral("GL_Regression and Rotated Data"));
    for (QObject* C : {static_cast<QObject*>(Button), static_cast<QObject*>(Readout), static_cast<QObject*>(Memo),
                       static_cast<QObject*>(Chart)})
      Owner.InsertComponent(C);
    Owner.InsertComponent(&Window);
    Readout->SetLeftText(QStringLiteral("GL_goodness of fit"));
    Memo->Lines()->Add(QStringLiteral("GL_Explain_1"));
    Memo->Lines()->Add(QStringLiteral("plain"));
    Memo->Lines()->Add(QStringLiteral("GL_Explain_2"));
    Chart->Scale1X()->SetCaption(QStringLiteral("GL_x axis"));
    Button->setObjectName(QStringLiteral("GL_Button"));
  }
};

TEST(FormTranslation, WithoutADictionaryKeysLoseTheirPrefix) {
  TWindow W;
  TGlossator G("");
  G.TranslateComponent(&W.Owner);
  EXPECT_EQ(W.Window.windowTitle(), "Regression and Rotated Data");
  EXPECT_EQ(W.Button->text(), "Reset");
  EXPECT_EQ(W.Button->objectName(), "GL_Button");  // names are never translated
  EXPECT_EQ(W.Readout->LeftText(), "goodness of fit");
  EXPECT_EQ(W.Memo->Lines()->Strings(0), "Explain_1");
  EXPECT_EQ(W.Memo->Lines()->Strings(1), "plain");
  EXPECT_EQ(W.Memo->Lines()->Strings(2), "Explain_2");
  EXPECT_EQ(W.Memo->toPlainText(), "Explain_1\nplain\nExplain_2");
  EXPECT_EQ(W.Chart->Scale1X()->Caption(), "x axis");
}

// A component with a collection-valued property.
class TWithItems : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TCollection* Items READ Items)
  Q_PROPERTY(QFont Font READ Font WRITE SetFont)

public:
  TCollection* Items() { return &Items_; }
  QFont Font() const { return Font_; }
  void SetFont(const QFont& V) { Font_ = V; }

private:
  TCollection Items_;
  QFont Font_{QStringLiteral("GL_font")};
};

TEST(FormTranslation, CollectionItemsAreTranslatedAndFontsAreNot) {
  TWithItems C;
  C.Items()->Add()->SetDisplayName("GL_first");
  C.Items()->Add()->SetDisplayName("second");
  TGlossator G("");
  G.TranslateComponent(&C);
  EXPECT_EQ(C.Items()->Items(0)->DisplayName(), "first");
  EXPECT_EQ(C.Items()->Items(1)->DisplayName(), "second");
  EXPECT_EQ(C.Font().family(), "GL_font");
}

// Texts of an object held in a property, translatable by its mark or not.
class TTexts : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
  QString Caption() const { return Caption_; }
  void SetCaption(const QString& V) { Caption_ = V; }

private:
  QString Caption_ = QStringLiteral("GL_caption");
};
class TMarkedTexts : public TTexts, public TTranslatable {
  Q_OBJECT
  Q_INTERFACES(TTranslatable)
};
class THolder : public QObject {
  Q_OBJECT
  Q_PROPERTY(TTexts* Marked READ Marked)
  Q_PROPERTY(TTexts* Unmarked READ Unmarked)

public:
  TTexts* Marked() { return &Marked_; }
  TTexts* Unmarked() { return &Unmarked_; }

private:
  TMarkedTexts Marked_;
  TTexts Unmarked_;
};

TEST(FormTranslation, HeldObjectsAreTranslatedWhenMarkedTranslatable) {
  THolder H;
  TGlossator G("");
  G.TranslateObject(&H);
  EXPECT_EQ(H.Marked()->Caption(), "caption");
  EXPECT_EQ(H.Unmarked()->Caption(), "GL_caption");
}

TEST(FormTranslation, PrefixIsCaseSensitiveAndAloneTranslatesTheEmptyKey) {
  QPushButton A(QStringLiteral("gl_Reset")), B(QStringLiteral("GL_"));
  TGlossator G("");
  G.TranslateObject(&A);
  G.TranslateObject(&B);
  EXPECT_EQ(A.text(), "gl_Reset");
  EXPECT_EQ(B.text(), "");
}

TEST(FormTranslation, ASkippedContainerStillHasItsComponentsTranslated) {
  TWindow W;
  TGlossator G("");
  G.OnTranslateObject = [&](TGlossator*, QObject* Object, bool& Translate) { Translate = Object != &W.Window; };
  G.TranslateComponent(&W.Owner);
  EXPECT_EQ(W.Window.windowTitle(), "GL_Regression and Rotated Data");
  EXPECT_EQ(W.Button->text(), "Reset");
}

TEST(FormTranslation, ATranslationThatIsAKeyIsTranslatedAgainNextTime) {
  QPushButton B(QStringLiteral("GL_a"));
  TMemoryStream S;
  const std::string Itl = "[a]=GL_b|$$[b]=done|$$";
  S.WriteBuffer(Itl.data(), static_cast<int>(Itl.size()));
  TGlossator G("");
  G.LoadFromStream(&S);
  G.TranslateObject(&B);
  EXPECT_EQ(B.text(), "GL_b");
  G.TranslateObject(&B);
  EXPECT_EQ(B.text(), "done");
}

}  // namespace

#include "test_Glossator_forms.moc"
