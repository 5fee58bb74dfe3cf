// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadAndSaveIni.h"

#include "CheckControls.h"
#include "Dialogs.h"
#include "EditControls.h"
#include "File_utils.h"
#include "FormatSettings.h"
#include "ListControls.h"
#include "My_string_functions.h"
#include "ReferenceSetList.h"
#include "SpinEdits.h"
#include "TElFileNameEdit.h"
#include "TElFolderNameEdit.h"
#include "UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace app {

bool save_memos = true;

namespace {

const QString kChecked = QStringLiteral("checked");
const QString kValue = QStringLiteral("value");
const QString kIndex = QStringLiteral("i");
const QString kText = QStringLiteral("text");
// The decimal text of 2147483646 is this long.
constexpr int kMaxSpinText = 10;

template <class T> T *As(QObject *o) {
    return dynamic_cast<T *>(o);
}

void Warn(QWidget *owner, const QString &text) {
    suite::FormCentredMessageDlg(owner, suite::Global_TimedOut, text, suite::TMsgDlgType::Warning,
                                 suite::mbOK, 0);
}

void CheckMark(QAbstractButton *b, const QString &section, TMyIniFile &ini, bool restore) {
    if (!restore) {
        ini.WriteBool(section, kChecked, b->isChecked());
        return;
    }
    const bool on = ini.ReadBool(section, kChecked, false);
    if (auto *radio = As<TRadioButtonBase>(b))
        radio->SetChecked(on);
    else
        b->setChecked(on);
}

void ItemIndex(int count, int current, const std::function<void(int)> &select,
               const QString &section, TMyIniFile &ini, bool restore) {
    if (!restore) {
        ini.WriteInteger(section, kIndex, current);
        return;
    }
    const int i = ini.ReadInteger(section, kIndex, -1);
    if (i >= 0 && i < count)
        select(i);
}

template <class Combo>
void ComboItems(Combo *c, const QString &section, TMyIniFile &ini, bool restore) {
    if (restore) {
        QStringList items;
        ini.ReadMultiString(section, items);
        c->SetItems(items);
    } else {
        ini.WriteMultiString(section, c->Items());
    }
    ItemIndex(
        c->count(), c->currentIndex(), [c](int i) { c->setCurrentIndex(i); }, section, ini,
        restore);
}

void MemoLines(TLinesEdit *memo, const QString &section, TMyIniFile &ini, bool restore) {
    if (!save_memos)
        return;
    if (restore) {
        QStringList lines;
        ini.ReadMultiString(section, lines);
        memo->SetLines(lines);
    } else {
        ini.WriteMultiStringMax(section, memo->Lines(), 50);
    }
}

void FileListLines(TElFileNameEdit *box, const QString &section, TMyIniFile &ini, bool restore) {
    if (!restore) {
        QStringList files;
        for (const QString &f : box->FileList())
            files.append(CompressAppDrive(f));
        ini.WriteMultiString(section, files);
        ini.WriteString(section, kText, CompressAppDrive(box->Text()));
        return;
    }
    QStringList lines;
    ini.ReadMultiString(section, lines);
    // The "text" entry is the box's text, not a chosen file: leave out that
    // entry (by its place, so a file equal to the text stays listed).
    const QStringList keys = ini.ReadSectionKeys(section);
    for (qsizetype k = 0; k < keys.size() && k < lines.size(); ++k)
        if (keys.at(k).compare(kText, Qt::CaseInsensitive) == 0) {
            lines.removeAt(k);
            break;
        }
    for (const QString &line : lines)
        box->AppendFile(ExpandAppDrive(line, true));
    box->SetText(ExpandAppDrive(ini.ReadString(section, kText, QString()), true));
}

void ElEdit(TCustomElEdit *edit, QObject *o, const QString &section, TMyIniFile &ini,
            bool restore) {
    if (auto *memo = As<TElMemo>(o))
        return MemoLines(memo, section, ini, restore);
    auto *fileBox = As<TElFileNameEdit>(o);
    if (fileBox && fileBox->MultiSelect())
        return FileListLines(fileBox, section, ini, restore);
    auto *folderBox = As<TElFolderNameEdit>(o);
    auto *plain = As<TElEdit>(o);
    const bool password = plain && plain->PasswordChar() == QLatin1Char('*');
    if (!restore) {
        QString text = edit->Text();
        if (password)
            text = suite::PwdToNumStr(text);
        if (fileBox || folderBox)
            text = CompressAppDrive(text);
        ini.WriteString(section, kText, text);
        return;
    }
    QString text = ini.ReadString(section, kText, QString());
    if (password)
        text = suite::FromNumStr(text);
    if (As<TElFloatSpinEdit>(o)) {
        if (text.size() <= kMaxSpinText)
            edit->SetText(text);
    } else if (fileBox) {
        edit->SetText(ExpandAppDrive(text, true));
    } else if (folderBox) {
        edit->SetText(ExpandAppDrive(text, false));
    } else {
        edit->SetText(text);
    }
}

// One component; false when it is of no known class and its own
// components are to be walked.
bool Handle(QObject *o, TMyIniFile &ini, bool restore) {
    const QString section = o->objectName();
    if (As<TCustomListBox>(o))
        return true;
    const bool named = !section.isEmpty();
    if (auto *g = As<TElCheckGroup>(o)) {
        if (named)
            for (int i = 0; i < g->Count(); ++i) {
                const QString key = kChecked + QString::number(i);
                if (restore)
                    g->SetChecked(i, ini.ReadBool(section, key, false));
                else
                    ini.WriteBool(section, key, g->Checked(i));
            }
        return true;
    }
    if (auto *d = As<TElDateTimePicker>(o)) {
        if (!named)
            return true;
        const QString format = suite::UserDefaultFormatSettings().ShortDateFormat;
        if (!restore) {
            ini.WriteString(section, kText, d->dateTime().toString(format));
        } else {
            const QDate date = QDate::fromString(ini.ReadString(section, kText, QString()), format);
            if (date.isValid())
                d->setDateTime(QDateTime(date, QTime(0, 0)));
        }
        return true;
    }
    if (As<TElCheckBox>(o) || As<TAdvOfficeCheckBox>(o) || As<TCheckBox>(o)) {
        if (named)
            CheckMark(As<QAbstractButton>(o), section, ini, restore);
        return true;
    }
    if (As<TElSpinEdit>(o) || As<TAdvSpinEdit>(o)) {
        if (named) {
            auto *spin = As<QSpinBox>(o);
            if (restore)
                spin->setValue(ini.ReadInteger(section, kValue, 0));
            else
                ini.WriteInteger(section, kValue, spin->value());
        }
        return true;
    }
    if (As<TElRadioButton>(o) || As<TAdvOfficeRadioButton>(o) || As<TRadioButton>(o)) {
        if (named)
            CheckMark(As<QAbstractButton>(o), section, ini, restore);
        return true;
    }
    if (auto *g = As<TCustomRadioGroup>(o)) {
        if (named)
            ItemIndex(
                g->Count(), g->ItemIndex(), [g](int i) { g->SetItemIndex(i); }, section, ini,
                restore);
        return true;
    }
    if (auto *c = As<TElComboBox>(o)) {
        if (named) {
            c->Sorted = false;
            if (!restore && c->AutoHistory)
                c->AutoHistoryUpdate();
            ComboItems(c, section, ini, restore);
        }
        return true;
    }
    if (auto *c = As<TChoiceComboBox>(o)) {
        if (named)
            ItemIndex(
                c->count(), c->currentIndex(), [c](int i) { c->setCurrentIndex(i); }, section, ini,
                restore);
        return true;
    }
    if (auto *sets = As<TReferenceSetList>(o)) {
        if (named)
            sets->ReadOrWrite(ini, section, restore);
        return true;
    }
    if (auto *c = As<TAdvCustomComboBox>(o)) {
        if (named)
            ComboItems(c, section, ini, restore);
        return true;
    }
    if (auto *e = As<TCustomElEdit>(o)) {
        if (named)
            ElEdit(e, o, section, ini, restore);
        return true;
    }
    if (auto *e = As<TCustomEdit>(o)) {
        if (!named)
            return true;
        if (auto *memo = As<TCustomMemo>(o))
            MemoLines(memo, section, ini, restore);
        else if (restore)
            e->SetText(ini.ReadString(section, kText, QString()));
        else
            ini.WriteString(section, kText, e->Text());
        return true;
    }
    return false;
}

} // namespace

void ReadOrWriteComponents(QObject *owner, TMyIniFile &ini, bool restore) {
    // A copy: restoring a group may add child widgets while we walk.
    const QObjectList components = owner->children();
    for (QObject *o : components)
        if (!Handle(o, ini, restore))
            ReadOrWriteComponents(o, ini, restore);
}

QString SettingsFileName() {
    const QStringList args = QCoreApplication::arguments();
    const QString exe = args.isEmpty() ? QCoreApplication::applicationFilePath() : args.first();
    QString folder = suite::GetUserReadWriteFolder();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QFileInfo(exe).completeBaseName() + QStringLiteral(".ini");
}

namespace {

// The one warning about a file that could not be read and was kept aside.
QString KeptAsideText(const TMyIniFile &ini) {
    return QStringLiteral("The settings file %1 cannot be read (%2). It is kept as %3, and a new "
                          "one will be written when the window closes.")
        .arg(QDir::toNativeSeparators(ini.FileName()), ini.UnreadableCause(),
             QDir::toNativeSeparators(ini.KeptAsideAs()));
}

} // namespace

bool LoadFormSettings(QWidget *form, const QString &fileName) {
    if (!suite::DriveAndFileExist(fileName))
        return true;
    try {
        // A file that cannot be read is kept aside now, so that the save at
        // closing never overwrites the only copy of the user's settings.
        TMyIniFile ini(fileName, TMemIniFile::TOnBadFile::KeepAside);
        if (!ini.KeptAsideAs().isEmpty()) {
            Warn(form, KeptAsideText(ini));
            return false;
        }
        ReadOrWriteComponents(form, ini, true);
        for (const TReferenceSetList *sets : form->findChildren<TReferenceSetList *>())
            if (!sets->LoadProblem().isEmpty())
                Warn(form, QStringLiteral("The settings file %1: %2")
                               .arg(QDir::toNativeSeparators(fileName), sets->LoadProblem()));
        return true;
    } catch (const TIniFileError &e) {
        Warn(form, QStringLiteral("The settings file %1 cannot be read (%2). The window keeps "
                                  "its usual settings.")
                       .arg(QDir::toNativeSeparators(fileName), e.cause()));
        return false;
    }
}

bool SaveFormSettings(QWidget *form, const QString &fileName) {
    try {
        // A file that went bad since the window opened is kept aside too;
        // one that cannot be kept aside is not overwritten.
        TMyIniFile ini(fileName, TMemIniFile::TOnBadFile::KeepAside);
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        ReadOrWriteComponents(form, ini, false);
        ini.UpdateFile();
        if (!ini.KeptAsideAs().isEmpty())
            Warn(form, KeptAsideText(ini));
        return true;
    } catch (const TIniFileError &e) {
        Warn(form, QStringLiteral("The settings file %1 cannot be written (%2). The settings of "
                                  "this session are not saved.")
                       .arg(QDir::toNativeSeparators(fileName), e.cause()));
        return false;
    }
}

} // namespace app
