// Every caption fits its control in every shipped language, with the fonts the set-up
// installs (metrically compatible with the designs' fonts).
#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "app/Cli.h"
#include "app/uswivel.h"

namespace {

// Where a caption does not fit: empty when it does.
QString Overflow(const QLabel* L) {
  const QFontMetrics M(L->font());
  const QRect Need = L->wordWrap() ? M.boundingRect(QRect(QPoint(), L->size()), Qt::TextWordWrap, L->text())
                                   : QRect(0, 0, M.horizontalAdvance(L->text()), M.height());
  if (Need.width() <= L->width() && Need.height() <= L->height()) return {};
  return QStringLiteral("%1 '%2' needs %3x%4 in %5x%6")
      .arg(L->objectName(), L->text())
      .arg(Need.width())
      .arg(Need.height())
      .arg(L->width())
      .arg(L->height());
}

QString Overflow(const QPushButton* B) {
  if (B->sizeHint().width() <= B->width()) return {};
  return QStringLiteral("%1 '%2' needs %3 of %4").arg(B->objectName(), B->text()).arg(B->sizeHint().width()).arg(B->width());
}

// The readout's caption is right-aligned in its left space, 5 pixels from the field.
QString Overflow(const TReadout* R) {
  const int Need = QFontMetrics(R->font()).horizontalAdvance(R->LeftText()) + 5;
  if (Need <= R->LeftSpace()) return {};
  return QStringLiteral("readout '%1' needs %2 of %3").arg(R->LeftText()).arg(Need).arg(R->LeftSpace());
}

TEST(Captions, EveryCaptionFitsInEveryLanguage) {
  const QString Program = QStringLiteral(SWIVEL_SOURCE_DIR "/swivel");
  const QStringList Languages = InstalledLanguages(Program);
  ASSERT_TRUE(Languages.contains("de"));
  for (const QString& Language : Languages) {
    QString Error;
    TStartMode Mode;
    Mode.Scripted = true;
    Mode.DictionaryFile = ChooseDictionary(Program, Language, "C", Error).value_or(QString());
    if (Mode.DictionaryFile.isEmpty()) Mode.DictionaryFile = Program + ".itl";
    TForm1 F(Mode);
    TFrmAbout About(&F);
    F.FrmAbout = &About;
    F.show();
    F.BButNextClick(F.BButNext);  // step 2..5 show the magnification and colour labels
    F.BButNextClick(F.BButNext);
    F.BButNextClick(F.BButNext);
    F.BButNextClick(F.BButNext);
    ASSERT_FALSE(F.Label2->text().startsWith("GL_")) << Language.toStdString();
    // The designs' fonts resolve to metric-compatible families.
    EXPECT_TRUE(QFontInfo(F.Label2->font()).family().startsWith("Liberation")) << QFontInfo(F.Label2->font()).family().toStdString();
    QStringList Problems;
    for (QWidget* W : std::initializer_list<QWidget*>{&F, &About})
      for (const QLabel* L : W->findChildren<QLabel*>())
        if (!L->text().isEmpty()) Problems << Overflow(L);
    for (const QPushButton* B : F.findChildren<QPushButton*>()) Problems << Overflow(B);
    Problems << Overflow(About.BButOK) << Overflow(F.RdoRxy);
    Problems.removeAll(QString());
    EXPECT_TRUE(Problems.isEmpty()) << Language.toStdString() << ": " << Problems.join("; ").toStdString();
  }
}

}  // namespace
