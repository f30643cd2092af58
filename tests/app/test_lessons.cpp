// The translated window, the lesson texts and the about box in both languages.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/uswivel.h"
#include "toolkit/MessageBox.h"

namespace {

// A window started with a dictionary written for the test.
struct TTranslatedForm {
  QTemporaryDir Dir;
  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TFrmAbout> About;
  explicit TTranslatedForm(const QByteArray& Itl, bool Scripted = true) {
    const QString File = Dir.filePath("test.itl");
    QFile Out(File);
    Out.open(QIODevice::WriteOnly);
    Out.write(Itl);
    Out.close();
    TStartMode Mode;
    Mode.Scripted = Scripted;
    Mode.DictionaryFile = File;
    Form = std::make_unique<TForm1>(Mode);
    About = std::make_unique<TFrmAbout>(Form.get());
    Form->FrmAbout = About.get();
    Form->SetSeed(5);
    Form->show();
  }
};

const QByteArray German =
    "[$dlglanguage$]=LgGerman|$$[Swivel]=Drehwurm|$$[HomePageURL]=https://example.org/home|$$[HomePage]=Heimat|$$"
    "[Regression and Rotated Data]=Regression|$$[Next]=Weiter|$$[goodness of fit]=r\xC2\xB2|$$"
    "[Explain_1]=Eins|$$[Explain_2]=Zwei\\nzweite Zeile|$$[OK]=Gut|$$";

TEST(Translation, WithoutADictionaryCaptionsShowTheirKeys) {
  TTranslatedForm T("");
  EXPECT_EQ(T.Form->windowTitle(), "Regression and Rotated Data");
  EXPECT_EQ(T.Form->BButNext->text(), "Next");
  EXPECT_EQ(T.Form->RdoRxy->LeftText(), "goodness of fit");
  EXPECT_EQ(T.Form->Memo1->toPlainText(), "Explain_1");
  EXPECT_EQ(T.Form->LblMagnif->text(), "Magnification of y-axis");
  QTest::mouseClick(T.Form->BButNext, Qt::LeftButton);
  EXPECT_EQ(T.Form->Memo1->toPlainText(), "ExPlain_2");
}

TEST(Translation, CaptionsAndLessonTextsComeFromTheDictionary) {
  TTranslatedForm T(German);
  EXPECT_EQ(T.Form->windowTitle(), "Regression");
  EXPECT_EQ(T.Form->BButNext->text(), "Weiter");
  EXPECT_EQ(T.Form->RdoRxy->LeftText(), "r\u00B2");
  EXPECT_EQ(T.Form->Memo1->toPlainText(), "Eins");
  QTest::mouseClick(T.Form->BButNext, Qt::LeftButton);
  EXPECT_EQ(T.Form->Memo1->toPlainText(), "Zwei\nzweite Zeile");
  EXPECT_EQ(T.Form->Memo1->Lines()->Count(), 2);
}

// The program's own dictionaries, shipped and contributed: every lesson text is there and fits the memo at the
// design's size, so the learner never has to scroll.
TEST(LessonTexts, EveryStepFitsTheMemoInEveryLanguage) {
  for (const char* Dictionary : {"swivel.itl", "swivel.de.itl", "swivel.fr.itl", "swivel.es.itl", "swivel.it.itl",
                                 "swivel.pt.itl", "swivel.nl.itl", "swivel.pl.itl"}) {
    TStartMode Mode;
    Mode.Scripted = true;
    Mode.DictionaryFile = QStringLiteral(SWIVEL_SOURCE_DIR "/") + Dictionary;
    TForm1 Form(Mode);
    Form.SetSeed(42);
    Form.show();
    for (int Step = 1; Step <= 5; ++Step) {
      if (Step > 1) Form.BButNextClick(Form.BButNext);
      QCoreApplication::processEvents();
      EXPECT_TRUE(Form.Memo1->toPlainText().contains(QString::number(Step))) << Dictionary << " step " << Step;
      EXPECT_EQ(Form.Memo1->verticalScrollBar()->maximum(), 0) << Dictionary << " step " << Step;
    }
  }
}

TEST(AboutBox, GermanTextsForAnyLetterCaseOfTheLanguage) {
  TTranslatedForm T(German);
  TFrmAbout* A = T.About.get();
  EXPECT_EQ(A->LblName->text(), "Drehwurm");
  EXPECT_EQ(A->LblVersion->text(), "Version 1.0");
  EXPECT_EQ(A->HomePage, "https://example.org/home");
  EXPECT_EQ(A->LblHomePage->text(), "Heimat");
  EXPECT_EQ(A->BButOK->text(), "Gut");
  EXPECT_EQ(A->LblWebSite->text(), "Mehr Informationen finden Sie auf folgenden Webseiten:");
  EXPECT_TRUE(A->LblDescription->text().startsWith("Dieses Programm zeigt den Einfluss unkorrelierter Daten"));
}

TEST(AboutBox, EnglishTextsOtherwise) {
  TTranslatedForm T("[$dlglanguage$]=lgFrench|$$");
  EXPECT_EQ(T.About->LblWebSite->text(), "More information can be found at the following Web sites:");
  EXPECT_TRUE(T.About->LblDescription->text().startsWith("This program shows the effects of uncorrelated data"));
  EXPECT_TRUE(T.About->LblDescription->text().endsWith("It is used in various electronic textbooks."));
  EXPECT_EQ(T.About->HomePage, "HomePageURL");  // no entry: the key itself
}

TEST(AboutBox, TextsOfTheDictionaryReplaceTheBuiltInOnes) {
  {
    TTranslatedForm T(
        "[$dlglanguage$]=lgFrench|$$[AboutDescription]=Ce programme montre\\nbien des choses.|$$"
        "[AboutMoreInformation]=Plus d'informations :|$$[AboutCopyright]=\xC2\xA9 les auteurs|$$");
    EXPECT_EQ(T.About->LblDescription->text(), "Ce programme montre\nbien des choses.");
    EXPECT_EQ(T.About->LblWebSite->text(), "Plus d'informations :");
    EXPECT_EQ(T.About->LblCopyright->text(), "\u00A9 les auteurs");
  }  // one program has one client at a time
  // Only the text the dictionary holds is replaced; the German one stays for the other.
  TTranslatedForm OnlyOne("[$dlglanguage$]=lgGerman|$$[AboutMoreInformation]=Mehr dazu:|$$");
  EXPECT_TRUE(OnlyOne.About->LblDescription->text().startsWith("Dieses Programm zeigt"));
  EXPECT_EQ(OnlyOne.About->LblWebSite->text(), "Mehr dazu:");
  EXPECT_EQ(OnlyOne.About->LblCopyright->text(), "\u00A9 2026 the Swivel developers, free software under the MIT licence");
}

// The readouts and both axes write numbers as the dictionary's language does.
TEST(DecimalComma, TheDictionaryTurnsItOnForReadoutsAndAxes) {
  auto Texts = [](const TTranslatedForm& T) {
    T.Form->grab();  // the readouts keep the text they last drew
    return QStringList{T.Form->RdoRxy->DisplayText(), T.Form->RdoAngle->DisplayText()} +
           T.Form->Plotter1->ScaleOf(0, 1)->Labels() + T.Form->Plotter1->ScaleOf(1, 1)->Labels();
  };
  const QStringList Comma = Texts(TTranslatedForm("[$decimalcomma$]=Yes|$$"));
  const QStringList Point = Texts(TTranslatedForm("[$decimalcomma$]=no|$$"));
  ASSERT_EQ(Comma.size(), Point.size());
  ASSERT_GT(Comma.size(), 4);
  for (qsizetype I = 0; I < Comma.size(); ++I) {
    EXPECT_TRUE(Point[I].contains('.')) << Point[I].toStdString();
    EXPECT_EQ(Comma[I], QString(Point[I]).replace('.', ',')) << Comma[I].toStdString();
  }
}

TEST(DecimalComma, EveryShippedLanguageButEnglishWritesIt) {
  for (const char* Language : {"", ".de", ".fr", ".es", ".it", ".pt", ".nl", ".pl"}) {
    TStartMode Mode;
    Mode.Scripted = true;
    Mode.DictionaryFile = QStringLiteral(SWIVEL_SOURCE_DIR "/swivel%1.itl").arg(QLatin1String(Language));
    TForm1 Form(Mode);
    Form.SetSeed(42);
    Form.show();
    Form.grab();
    EXPECT_EQ(Form.RdoRxy->DisplayText().contains(','), *Language != 0) << Language;
  }
}

TEST(AboutBox, LinksOpenTheirAddressesAndHighlight) {
  TTranslatedForm T(German);
  TFrmAbout* A = T.About.get();
  EXPECT_TRUE(A->LblHomePage->isHidden());  // hidden in the design
  QStringList Opened;
  const TOpenAddressHook Previous = SetOpenAddressHook([&](const QString& Address) { Opened << Address; });
  QTimer::singleShot(0, A, [A] {
    EXPECT_TRUE(A->LblHomePage->isVisible());
    QTest::mouseClick(A->LblHomePage, Qt::LeftButton);
    QTest::mouseClick(A->LblSimus, Qt::LeftButton);
    EXPECT_TRUE(A->isVisible());  // a click leaves the dialog open
    QMouseEvent Move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(A->LblHomePage, &Move);
    EXPECT_EQ(A->LblHomePage->palette().color(QPalette::WindowText), QColor(Qt::red));
    QApplication::sendEvent(A->Panel2, &Move);
    EXPECT_EQ(A->LblHomePage->palette().color(QPalette::WindowText), QColor(Qt::blue));
    A->BButOK->click();
  });
  T.Form->BButAboutClick(T.Form->BButAbout);
  SetOpenAddressHook(Previous);
  EXPECT_EQ(Opened, (QStringList{"https://example.org/home", TFrmAbout::SimulationsPage}));
  EXPECT_FALSE(A->isVisible());
}

TEST(AboutBox, EnterAndSpaceOpenAFocusedLinkAndTheBoxOpensCentredOnTheScreen) {
  TTranslatedForm T(German);
  TFrmAbout* A = T.About.get();
  QStringList Opened;
  const TOpenAddressHook Previous = SetOpenAddressHook([&](const QString& Address) { Opened << Address; });
  QRect Frame, Available;
  QTimer::singleShot(0, A, [&] {
    Frame = A->frameGeometry();
    Available = A->screen()->availableGeometry();
    EXPECT_EQ(A->focusWidget(), A->BButOK);  // the box opens with OK focused, not a link
    A->LblHomePage->setFocus();
    QTest::keyClick(A->LblHomePage, Qt::Key_Return);
    A->LblSimus->setFocus();
    QTest::keyClick(A->LblSimus, Qt::Key_Space);
    EXPECT_TRUE(A->isVisible());
    A->BButOK->setFocus();
    QTest::keyClick(A->BButOK, Qt::Key_Return);  // Enter elsewhere still closes the box
  });
  T.Form->BButAboutClick(T.Form->BButAbout);
  SetOpenAddressHook(Previous);
  EXPECT_EQ(Opened, (QStringList{"https://example.org/home", TFrmAbout::SimulationsPage}));
  EXPECT_FALSE(A->isVisible());
  EXPECT_LE(std::abs(Frame.center().x() - Available.center().x()), 1);
  EXPECT_LE(std::abs(Frame.center().y() - Available.center().y()), 1);
}

TEST(ApplicationIcon, TheIconNamedInTheDictionaryReplacesTheProgramsOwn) {
  auto Centre = [](const TTranslatedForm& T) { return T.Form->windowIcon().pixmap(16).toImage().pixelColor(8, 8); };
  // One program has one client at a time, so the windows come one after the other.
  EXPECT_NE(Centre(TTranslatedForm("[AppIconName]=no-such-icon.png|$$")), QColor(Qt::red));  // skipped
  // An icon in the work-area folder (the program's folder) is taken.
  const QString Name = QStringLiteral("swivel-test-icon-%1.png").arg(QCoreApplication::applicationPid());
  const QString File = QCoreApplication::applicationDirPath() + "/" + Name;
  QImage Red(16, 16, QImage::Format_RGB32);
  Red.fill(Qt::red);
  ASSERT_TRUE(Red.save(File));
  TTranslatedForm Named("[AppIconName]=" + Name.toUtf8() + "|$$");
  QFile::remove(File);
  EXPECT_EQ(Centre(Named), QColor(Qt::red));
}

}  // namespace
