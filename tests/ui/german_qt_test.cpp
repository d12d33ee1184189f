// SPDX-License-Identifier: MIT
// Qt's own dialogs in German, and the German reasons of failed writes.
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

#include "ui/file_error_reason.h"
#include "ui/german_qt.h"

namespace {

// Installs Qt's German for one test and takes it away again.
class GermanQt : public ::testing::Test {
protected:
    GermanQt() : translator_(fibmod::ui::SpeakGerman(*qApp)) {}
    ~GermanQt() override
    {
        if (translator_ != nullptr) {
            QCoreApplication::removeTranslator(translator_);
            delete translator_;
        }
        QLocale::setDefault(QLocale::c());
    }
    QTranslator* translator_;
};

// A button's text without its shortcut's mark.
QString Plain(const QAbstractButton* button) { return button->text().remove(u'&'); }

// The texts of a dialog's buttons, in their order.
QStringList ButtonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) texts << Plain(button);
    return texts;
}

TEST_F(GermanQt, TheSaveDialogAndItsQuestionSpeakGerman)
{
    ASSERT_NE(translator_, nullptr) << "qtbase_de is not installed (qt6-translations-l10n)";
    EXPECT_EQ(QLocale().language(), QLocale::German);
    QFileDialog dialog(nullptr, QStringLiteral("Als CSV speichern"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList buttons = ButtonTexts(dialog);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Speichern"))) << buttons.join(u'|').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Abbrechen"))) << buttons.join(u'|').toStdString();
    EXPECT_FALSE(buttons.contains(QStringLiteral("Save")));

    QMessageBox replace(QMessageBox::Warning, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(Plain(replace.button(QMessageBox::Yes)), QStringLiteral("Ja"));
    EXPECT_EQ(Plain(replace.button(QMessageBox::No)), QStringLiteral("Nein"));
}

// The reason Qt's file gives after `path` could not be written through it.
QString ReasonAfterFailedSave(const QString& path)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    const bool written = file.open(QIODevice::WriteOnly) && file.write("1,2\r\n") == 5 && file.commit();
    EXPECT_FALSE(written) << path.toStdString();
    return fibmod::ui::WriteFailureReason(path, file);
}

TEST(FileErrorReasonTest, AMissingFolderAndAFileForAFolderSayWhy)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReasonAfterFailedSave(dir.filePath(QStringLiteral("fehlt/moduln.csv"))),
              QStringLiteral("Datei oder Verzeichnis nicht gefunden"));
    QFile plain(dir.filePath(QStringLiteral("datei")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(ReasonAfterFailedSave(dir.filePath(QStringLiteral("datei/moduln.csv"))),
              QStringLiteral("Kein Verzeichnis"));
}

// An existing file that cannot be written never reads "not found". Root
// may write any file its permissions forbid; a file of the kernel's in a
// folder that takes no new file stands in for it then, whose reason the
// system does not name.
TEST(FileErrorReasonTest, AnExistingFileThatCannotBeWrittenSaysWhyNotNotFound)
{
    if (::geteuid() == 0) {
        EXPECT_EQ(ReasonAfterFailedSave(QStringLiteral("/proc/version")), QStringLiteral("Unbekannter Fehler"));
        return;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nur-lesen.csv"));
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    ASSERT_TRUE(existing.setPermissions(QFileDevice::ReadOwner));
    EXPECT_EQ(ReasonAfterFailedSave(path), QStringLiteral("Keine Berechtigung"));
}

TEST(FileErrorReasonTest, NamesEachSystemErrorInGerman)
{
    EXPECT_EQ(fibmod::ui::FileErrorReason(ENOSPC), QStringLiteral("Kein Speicherplatz mehr"));
    EXPECT_EQ(fibmod::ui::FileErrorReason(EROFS), QStringLiteral("Schreibgeschützt"));
    EXPECT_EQ(fibmod::ui::FileErrorReason(EACCES), QStringLiteral("Keine Berechtigung"));
    EXPECT_EQ(fibmod::ui::FileErrorReason(0), QStringLiteral("Unbekannter Fehler"));
}

} // namespace
