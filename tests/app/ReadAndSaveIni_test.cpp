// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: exact bytes, round trips, the drive-root form of
// paths, the walk's rows, and files that cannot be read or written.

#include "AppTestSupport.h"
#include "CheckControls.h"
#include "ListControls.h"
#include "MainWindow.h"
#include "My_string_functions.h"
#include "ReadAndSaveIni.h"
#include "ReferenceSetList.h"
#include "SpinEdits.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Utf16Lines(const QStringList &lines, bool mark = true) {
    QString text;
    for (const QString &l : lines)
        text += l + QStringLiteral("\r\n");
    QByteArray b = Utf16LeWithMark(text);
    return mark ? b : b.mid(2);
}

QString ReadUtf16(const QString &path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    EXPECT_TRUE(b.startsWith("\xFF\xFE"));
    return QString(reinterpret_cast<const QChar *>(b.constData() + 2), (b.size() - 2) / 2);
}

const QStringList kHeader{
    "Automatically generated file. CAREFUL!!!",
    "A program from Tallowmere created this settings file.",
    "; Delete it if you want.",
    "; Modify it at your own risk!",
    "",
};

class SettingsTest : public IsolatedUser {
protected:
    void WriteSettings(const QStringList &sectionLines) {
        QDir().mkpath(QFileInfo(SettingsFile()).absolutePath());
        dir.write(QDir(dir.path()).relativeFilePath(SettingsFile()),
                  Utf16Lines(kHeader + sectionLines));
    }
    // Creates the window (which loads) and destroys it (which saves).
    std::unique_ptr<TForm1> Open() { return std::make_unique<TForm1>(); }
};

TEST_F(SettingsTest, FirstRunGivesDesignValuesAndClosingWritesTheExactFile) {
    ASSERT_FALSE(QFile::exists(SettingsFile()));
    auto form = Open();
    EXPECT_EQ(form->ElSpinEditFreqVar->Value(), 15);
    EXPECT_EQ(form->ElSpinEditPercentFail->Value(), 10);
    EXPECT_FALSE(form->ElCheckBox1->isChecked());
    EXPECT_FALSE(form->ElCheckBoxThorough->isChecked());
    EXPECT_TRUE(form->ElFileNameEdit1->FileList().isEmpty());
    EXPECT_TRUE(form->ElFolderNameEdit1->Text().isEmpty());
    form.reset();

    QFile f(SettingsFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray expected = Utf16Lines(
        kHeader +
        QStringList{
            "[ElFileNameEdit1]",     "text=",     "", "[ElFolderNameEdit1]",     "text=",     "",
            "[ElSpinEditFreqVar]",   "value=15",  "", "[ElSpinEditPercentFail]", "value=10",  "",
            "[ElCheckBox1]",         "checked=0", "", "[ElCheckBoxThorough]",    "checked=0", "",
            "[ElComboEncoding]",     "i=0",       "", "[ElCheckBoxExtended]",    "checked=0", "",
            "[ElCheckBoxLanguages]", "checked=0", "", "[ReferenceSets]",         "count=0",   "",
        });
    EXPECT_EQ(f.readAll(), expected);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(SettingsTest, RoundTripRestoresAllSixControls) {
    const QStringList refs{dir.write("texts/one.txt", "a"), dir.write("texts/two.txt", "b")};
    QDir().mkpath(dir.file("corpus"));
    {
        auto form = Open();
        form->ElFileNameEdit1->SetFileList(refs);
        form->ElFolderNameEdit1->SetText(dir.file("corpus"));
        form->ElSpinEditFreqVar->SetValue(33);
        form->ElSpinEditPercentFail->SetValue(44);
        form->ElCheckBox1->setChecked(true);
        form->ElCheckBoxThorough->setChecked(true);
    }
    auto form = Open();
    EXPECT_EQ(form->ElFileNameEdit1->FileList(), refs);
    EXPECT_EQ(form->ElFileNameEdit1->Text(), TElFileNameEdit::JoinNames(refs));
    EXPECT_EQ(form->ElFolderNameEdit1->Text(), dir.file("corpus"));
    EXPECT_EQ(form->ElSpinEditFreqVar->Value(), 33);
    EXPECT_EQ(form->ElSpinEditPercentFail->Value(), 44);
    EXPECT_TRUE(form->ElCheckBox1->isChecked());
    EXPECT_TRUE(form->ElCheckBoxThorough->isChecked());
    EXPECT_TRUE(Shown().isEmpty());
}

// The choices beyond the design ones come back, named sets with their files
// in order; a file written before they existed loads with the design choices.
TEST_F(SettingsTest, EncodingExtendedChecksAndNamedSetsRoundTripAndOldFilesStillLoad) {
    const QList<app::TNamedSet> sets{
        {"German", {dir.write("de/a.txt", "a"), dir.write("de/b.txt", "b")}, false},
        {"Spanish = es", {dir.write("es.profile", "p")}, true},
    };
    {
        auto form = Open();
        form->ElComboEncoding->setCurrentIndex(1);
        form->ElCheckBoxExtended->setChecked(true);
        form->ElCheckBoxLanguages->setChecked(true);
        form->ReferenceSets->SetSets(sets);
    }
    {
        auto form = Open();
        EXPECT_EQ(form->Encoding(), engine::TDefaultEncoding::Utf8);
        EXPECT_TRUE(form->ElCheckBoxExtended->isChecked());
        EXPECT_TRUE(form->ElCheckBoxLanguages->isChecked());
        EXPECT_EQ(form->ReferenceSets->Sets(), sets);
        // Removing a set leaves no trace of it in the file.
        form->ReferenceSets->SetSets({sets[1]});
    }
    EXPECT_EQ(Open()->ReferenceSets->Sets(), QList<app::TNamedSet>{sets[1]});
    EXPECT_FALSE(ReadUtf16(SettingsFile()).contains("de/a.txt"));

    // The design sections only, as windows before these choices wrote them;
    // then a hand-damaged sets section and an index out of range.
    const QStringList old{"[ElSpinEditFreqVar]",  "value=33",  "",
                          "[ElCheckBoxThorough]", "checked=1", ""};
    const QStringList damaged{"[ElComboEncoding]", "i=7",      "",           "[ReferenceSets]",
                              "count=99",          "name1=",   "files1=1",   "file1.1=/x",
                              "name2=Good",        "files2=5", "file2.3=/y", ""};
    for (const QStringList &lines : {old, old + damaged}) {
        WriteSettings(lines);
        auto form = Open();
        EXPECT_EQ(form->ElSpinEditFreqVar->Value(), 33);
        EXPECT_TRUE(form->ElCheckBoxThorough->isChecked());
        EXPECT_EQ(form->Encoding(), engine::TDefaultEncoding::Windows1252);
        EXPECT_FALSE(form->ElCheckBoxExtended->isChecked());
        EXPECT_FALSE(form->ElCheckBoxLanguages->isChecked());
        const QList<app::TNamedSet> expected =
            lines == old ? QList<app::TNamedSet>{}
                         : QList<app::TNamedSet>{{"Good", {QStringLiteral("/y")}, false}};
        EXPECT_EQ(form->ReferenceSets->Sets(), expected);
        EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
    }
}

// A hand-made section may claim any number of sets and files: it costs no
// more than the lines it holds (this one, 71 KB, once kept the window busy
// for minutes), and what is beyond what a settings file keeps is left out
// with a word, never silently.
TEST_F(SettingsTest, ASetsSectionLoadsByTheLinesItHoldsAndSaysWhatItLeavesOut) {
    QStringList claims{"[ReferenceSets]", "count=1000"};
    for (int n = 1; n <= 1000; ++n)
        claims << QStringLiteral("name%1=S%1").arg(n) << QStringLiteral("files%1=100000").arg(n)
               << QStringLiteral("file%1.1=/x/%1.txt").arg(n);
    WriteSettings(claims);
    EXPECT_LT(QFileInfo(SettingsFile()).size(), 200 * 1024);
    {
        auto form = Open();
        const QList<app::TNamedSet> sets = form->ReferenceSets->Sets();
        ASSERT_EQ(sets.size(), 1000);
        EXPECT_EQ(sets.back(), (app::TNamedSet{"S1000", {"/x/1000.txt"}, false}));
        EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
    }

    // One set more than a settings file keeps, and one file more than a set
    // keeps.
    QStringList over{"[ReferenceSets]", "count=1001"};
    for (int n = 1; n <= 1001; ++n)
        over << QStringLiteral("name%1=S%1").arg(n) << QStringLiteral("files%1=100001").arg(n)
             << QStringLiteral("file%1.1=/x/%1.txt").arg(n);
    for (int k = 2; k <= app::TReferenceSetList::kMaxSetFiles + 1; ++k)
        over << QStringLiteral("file1.%1=/y/%1.txt").arg(k);
    WriteSettings(over);
    auto form = Open();
    EXPECT_EQ(form->ReferenceSets->Sets().size(), app::TReferenceSetList::kMaxSets);
    EXPECT_EQ(form->ReferenceSets->Sets().front().files.size(),
              app::TReferenceSetList::kMaxSetFiles);
    ASSERT_EQ(Shown().size(), 1);
    for (const char *said : {"holds 1001 reference sets", "leaves out the other 1",
                             "at most 100000 files; 1 are left out"})
        EXPECT_TRUE(Shown()[0].contains(QLatin1String(said))) << Shown()[0].toStdString();
    EXPECT_TRUE(Shown()[0].contains(QDir::toNativeSeparators(SettingsFile())));
}

// A set name that loaded from a UTF-8 file would make a UTF-16 file larger
// than the reader takes: the save is refused with its reason, the old file
// stays, and it loads again.
TEST_F(SettingsTest, SettingsTooLargeToReadBackAreNotWrittenAndTheOldFileStays) {
    // 9 MB as UTF-8, 18 MB as UTF-16: more than the 16 MB a settings file
    // may hold.
    const QByteArray name(9 * 1024 * 1024, 'n');
    const QByteArray utf8 = "\xEF\xBB\xBF[ReferenceSets]\r\ncount=1\r\nname1=" + name +
                            "\r\nfiles1=1\r\nfile1.1=/x\r\n";
    QDir().mkpath(QFileInfo(SettingsFile()).absolutePath());
    dir.write(QDir(dir.path()).relativeFilePath(SettingsFile()), utf8);
    for (int round = 0; round < 2; ++round) {
        dialogs.shown.clear();
        auto form = Open();
        ASSERT_EQ(form->ReferenceSets->Sets().size(), 1);
        EXPECT_EQ(form->ReferenceSets->Sets()[0].name.size(), name.size());
        form.reset();
        ASSERT_EQ(Shown().size(), 1);
        EXPECT_TRUE(Shown()[0].contains("cannot be written")) << Shown()[0].left(300).toStdString();
        EXPECT_TRUE(Shown()[0].contains("16777216 bytes")) << Shown()[0].left(300).toStdString();
        QFile f(SettingsFile());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll() == utf8);
    }
}

// Blanks at either end of a name are part of it: "sp " is another folder
// than "sp", and both must come back as they were chosen.
TEST_F(SettingsTest, NamesWithBlanksAtTheirEndsComeBackUnchanged) {
    const QStringList refs{dir.write("sp /ref.txt ", "a"), dir.write(" lead.txt", "b")};
    dir.write("sp/ref.txt", "decoy");
    {
        auto form = Open();
        form->ElFileNameEdit1->SetFileList(refs);
        form->ElFolderNameEdit1->SetText(dir.file("sp "));
    }
    auto form = Open();
    EXPECT_EQ(form->ElFileNameEdit1->FileList(), refs);
    EXPECT_EQ(form->ElFolderNameEdit1->Text(), dir.file("sp "));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(SettingsTest, SingleChosenFileEqualToTheTextStaysListed) {
    const QString ref = dir.write("texts/one.txt", "a");
    {
        auto form = Open();
        form->ElFileNameEdit1->SetFileList({ref});
    }
    auto form = Open();
    EXPECT_EQ(form->ElFileNameEdit1->FileList(), QStringList{ref});
    EXPECT_EQ(form->ElFileNameEdit1->Text(), ref);
}

TEST_F(SettingsTest, DriveRootFormOfPathsBothWays) {
    const QString root = dir.path() + "/";
    app::SetAppDriveRoot(root);
    const QString good = dir.write("Texts/good.txt", "x");
    struct Case {
        const char *what;
        QString in;
        QString compressed;
    } compress[] = {
        {"on the drive", good, "app_drive$Texts/good.txt"},
        {"elsewhere", "/elsewhere/x.txt", "/elsewhere/x.txt"},
        {"empty", "", ""},
    };
    for (const Case &c : compress)
        EXPECT_EQ(app::CompressAppDrive(c.in), c.compressed) << c.what;

    struct Expand {
        const char *what;
        QString in;
        bool fileMode;
        QString out;
    } expand[] = {
        {"token", "app_drive$Texts/good.txt", true, good},
        {"token in other case is kept", "APP_DRIVE$Texts/good.txt", true,
         "APP_DRIVE$Texts/good.txt"},
        {"missing file in a folder that exists", "app_drive$Texts/gone.txt", true, root + "Texts/"},
        {"missing file and folder", root + "Nowhere/gone.txt", true, root + "Nowhere/gone.txt"},
        {"folder that exists", root + "Texts", false, root + "Texts"},
        {"folder that does not", root + "Gone", false, ""},
        {"empty", "", true, ""},
    };
    for (const Expand &c : expand)
        EXPECT_EQ(app::ExpandAppDrive(c.in, c.fileMode), c.out) << c.what;

    // Through the file: stored in drive-root form, brought back on this root.
    {
        auto form = Open();
        form->ElFileNameEdit1->SetFileList({good});
    }
    const QString stored = ReadUtf16(SettingsFile());
    EXPECT_TRUE(stored.contains("[v0]=app_drive$Texts/good.txt\r\ntext=app_drive$Texts/good.txt"))
        << stored.toStdString();
    auto form = Open();
    EXPECT_EQ(form->ElFileNameEdit1->FileList(), QStringList{good});
}

TEST_F(SettingsTest, MissingFolderComesBackEmptyAndMissingFileAsItsFolder) {
    QDir().mkpath(dir.file("texts"));
    WriteSettings({"[ElFolderNameEdit1]", "text=" + dir.file("gone"), "", "[ElFileNameEdit1]",
                   "[v0]=" + dir.file("texts/gone.txt"), "text=" + dir.file("texts/gone.txt"), ""});
    auto form = Open();
    EXPECT_EQ(form->ElFolderNameEdit1->Text(), "");
    EXPECT_EQ(form->ElFileNameEdit1->FileList(), QStringList{dir.file("texts") + "/"});
    EXPECT_EQ(form->ElFileNameEdit1->Text(), dir.file("texts") + "/");
}

TEST_F(SettingsTest, SavingTwiceKeepsOneHeaderAndAnUnknownSectionSurvives) {
    WriteSettings({"[Gone]", "x=1", "", "[ElCheckBox1]", "checked=1", ""});
    Open().reset();
    Open().reset();
    const QString text = ReadUtf16(SettingsFile());
    for (const QString &h : kHeader.mid(0, 4))
        EXPECT_EQ(text.count(h), 1) << h.toStdString();
    EXPECT_TRUE(text.startsWith(kHeader.join("\r\n") + "\r\n[Gone]\r\nx=1\r\n\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("[ElCheckBox1]\r\nchecked=1\r\n"));
    // The list sections are written anew, so they move to the end.
    EXPECT_TRUE(
        text.endsWith("[ElFileNameEdit1]\r\ntext=\r\n\r\n[ReferenceSets]\r\ncount=0\r\n\r\n"))
        << text.toStdString();
}

TEST_F(SettingsTest, MemoStoresAtMostFiftyLinesWhileMemosAreSaved) {
    QWidget owner;
    auto *memo = new TElMemo(&owner);
    memo->setObjectName("Memo1");
    QStringList lines;
    for (int i = 0; i < 80; ++i)
        lines << QStringLiteral("line %1").arg(i);
    memo->SetLines(lines);

    const QString file = dir.file("memo.ini");
    {
        TMyIniFile ini(file);
        app::ReadOrWriteComponents(&owner, ini, false);
        ini.UpdateFile();
    }
    TMyIniFile ini(file);
    const QStringList keys = ini.ReadSectionKeys("Memo1");
    ASSERT_EQ(keys.size(), 50);
    EXPECT_EQ(keys.first(), "[v0]");
    EXPECT_EQ(keys.last(), "[v49]");
    memo->SetLines({});
    app::ReadOrWriteComponents(&owner, ini, true);
    EXPECT_EQ(memo->Lines(), lines.mid(0, 50));

    // With memos off the memo is neither stored nor restored.
    app::save_memos = false;
    TMyIniFile other(dir.file("other.ini"));
    app::ReadOrWriteComponents(&owner, other, false);
    EXPECT_FALSE(other.SectionExists("Memo1"));
}

// A small window holding one control of each class the walk knows.
struct AllControls {
    QWidget owner;
    TElCheckGroup *group = new TElCheckGroup(&owner);
    TElDateTimePicker *date = new TElDateTimePicker(&owner);
    TCheckBox *check = new TCheckBox(&owner);
    TElSpinEdit *spin = new TElSpinEdit(&owner);
    TElRadioButton *radio = new TElRadioButton(&owner);
    TRadioGroup *radios = new TRadioGroup(&owner);
    TElComboBox *combo = new TElComboBox(&owner);
    TAdvCustomComboBox *advCombo = new TAdvCustomComboBox(&owner);
    TElEdit *password = new TElEdit(&owner);
    TEdit *edit = new TEdit(&owner);
    TListBox *list = new TListBox(&owner);
    QWidget *plainPanel = new QWidget(&owner);
    TEdit *nested = new TEdit(plainPanel);
    TEdit *unnamed = new TEdit(&owner);

    AllControls() {
        group->setObjectName("Group");
        group->AddItem("a");
        group->AddItem("b");
        date->setObjectName("Date");
        check->setObjectName("Check");
        spin->setObjectName("Spin");
        radio->setObjectName("Radio");
        radios->setObjectName("Radios");
        radios->SetItems({"x", "y", "z"});
        combo->setObjectName("Combo");
        advCombo->setObjectName("AdvCombo");
        password->setObjectName("Password");
        password->SetPasswordChar('*');
        edit->setObjectName("Edit");
        list->setObjectName("List");
        list->addItem("never stored");
        nested->setObjectName("Nested");
    }
};

TEST_F(SettingsTest, TheWalkStoresAndRestoresEveryKnownClass) {
    AllControls a;
    a.group->SetChecked(1, true);
    a.date->setDateTime(QDateTime(QDate(2021, 3, 4), QTime(10, 30)));
    a.check->setChecked(true);
    a.spin->SetValue(-7);
    a.radio->setChecked(true);
    a.radios->SetItemIndex(2);
    a.combo->AutoHistory = true;
    a.combo->SetItems({"one", "two"});
    a.combo->setEditText("three");
    a.advCombo->SetItems({"p", "q", "r", "s"});
    a.advCombo->setCurrentIndex(3);
    a.password->setText("s3cret");
    a.edit->setText("plain text");
    a.nested->setText("inside a panel");
    a.unnamed->setText("no name, no section");

    TMyIniFile ini(dir.file("walk.ini"));
    app::ReadOrWriteComponents(&a.owner, ini, false);
    EXPECT_EQ(ini.ReadString("Group", "checked0", "?"), "0");
    EXPECT_EQ(ini.ReadString("Group", "checked1", "?"), "1");
    EXPECT_EQ(ini.ReadString("Check", "checked", "?"), "1");
    EXPECT_EQ(ini.ReadString("Spin", "value", "?"), "-7");
    EXPECT_EQ(ini.ReadString("Radios", "i", "?"), "2");
    EXPECT_EQ(ini.ReadSectionValues("Combo"),
              (QStringList{"[v0]=three", "[v1]=one", "[v2]=two", "i=0"}));
    EXPECT_EQ(ini.ReadString("AdvCombo", "i", "?"), "3");
    EXPECT_EQ(ini.ReadString("Password", "text", "?"), suite::PwdToNumStr("s3cret"));
    EXPECT_EQ(ini.ReadString("Edit", "text", "?"), "plain text");
    EXPECT_EQ(ini.ReadString("Nested", "text", "?"), "inside a panel");
    EXPECT_FALSE(ini.SectionExists("List"));
    EXPECT_FALSE(ini.SectionExists(""));

    AllControls b;
    b.radios->SetItemIndex(0);
    app::ReadOrWriteComponents(&b.owner, ini, true);
    EXPECT_TRUE(b.group->Checked(1));
    EXPECT_FALSE(b.group->Checked(0));
    EXPECT_EQ(b.date->date(), QDate(2021, 3, 4));
    EXPECT_TRUE(b.check->isChecked());
    EXPECT_EQ(b.spin->Value(), -7);
    EXPECT_TRUE(b.radio->isChecked());
    EXPECT_EQ(b.radios->ItemIndex(), 2);
    EXPECT_EQ(b.combo->Items(), (QStringList{"three", "one", "two"}));
    EXPECT_EQ(b.combo->currentIndex(), 0);
    EXPECT_EQ(b.advCombo->Items(), (QStringList{"p", "q", "r", "s"}));
    EXPECT_EQ(b.advCombo->currentIndex(), 3);
    EXPECT_EQ(b.password->text(), "s3cret");
    EXPECT_EQ(b.edit->text(), "plain text");
    EXPECT_EQ(b.nested->text(), "inside a panel");
    EXPECT_TRUE(b.unnamed->text().isEmpty());
    EXPECT_EQ(b.list->count(), 1); // list boxes are left alone
}

TEST_F(SettingsTest, MissingSectionsGiveTheReadersDefaults) {
    AllControls a;
    a.group->SetChecked(0, true);
    a.check->setChecked(true);
    a.spin->SetValue(5);
    a.radio->setChecked(true);
    a.radios->SetItemIndex(1);
    a.advCombo->SetItems({"p"});
    a.edit->setText("x");
    TMyIniFile empty(dir.file("none.ini"));
    app::ReadOrWriteComponents(&a.owner, empty, true);
    EXPECT_FALSE(a.group->Checked(0));
    EXPECT_FALSE(a.check->isChecked());
    EXPECT_EQ(a.spin->Value(), 0);
    EXPECT_FALSE(a.radio->isChecked());
    EXPECT_EQ(a.radios->ItemIndex(), 1); // radio groups keep their selection
    EXPECT_EQ(a.advCombo->count(), 0);
    EXPECT_EQ(a.edit->text(), "");
}

TEST_F(SettingsTest, ComboSectionEndingInAnIndexSelectsItAndDoesNotListIt) {
    AllControls a;
    TMyIniFile ini(dir.file("combo.ini"));
    ini.SetText("[AdvCombo]\r\n[v0]=a\r\n[v1]=b\r\n[v2]=c\r\n[v3]=d]\r\ni=3\r\n");
    app::ReadOrWriteComponents(&a.owner, ini, true);
    EXPECT_EQ(a.advCombo->Items(), (QStringList{"a", "b", "c", "d]"}));
    EXPECT_EQ(a.advCombo->currentIndex(), 3);
}

// A file a text editor saved in another encoding is read; one that cannot
// be read is never lost: it is kept aside, byte for byte, under a name the
// one warning gives, and closing writes a good file in its place.
TEST_F(SettingsTest, MalformedFilesLoadWithoutCrashKeepingDesignValues) {
    const QByteArray good = Utf16Lines({"[ElSpinEditFreqVar]", "value=99"});
    struct Case {
        const char *what;
        QByteArray bytes;
        bool warns;
        int freqVar;
    } cases[] = {
        // Read, whatever the encoding an editor chose.
        {"UTF-8 without mark", "[ElSpinEditFreqVar]\r\nvalue=99\r\n", false, 99},
        {"UTF-8 with mark", "\xEF\xBB\xBF[ElSpinEditFreqVar]\r\nvalue=99\r\n", false, 99},
        {"UTF-8, odd length", "[ElSpinEditFreqVar]\nvalue=99\n", false, 99},
        {"UTF-8 beyond ASCII", "[ElSpinEditFreqVar]\r\nvalue=99\r\n[x]\r\nk=Gr\xC3\xBC\xC3\x9F\r\n",
         false, 99},
        {"big-endian", QByteArray("\xFE\xFF\0[\0x\0]", 8), false, 0},
        {"empty file", "", false, 0},
        {"mark only", "\xFF\xFE", false, 0},
        {"no mark but UTF-16", Utf16Lines({"[ElSpinEditFreqVar]", "value=99"}, false), false, 99},
        {"entries before any section", Utf16Lines({"value=1", "[ElSpinEditFreqVar]", "value=99"}),
         false, 99},
        {"value that is no number", Utf16Lines({"[ElSpinEditFreqVar]", "value=lots"}), false, 0},
        {"bare brackets", Utf16Lines({"[", "]", "[]", "=", "[ElSpinEditFreqVar]", "==="}), false,
         0},
        // Kept aside.
        {"odd length", good + "x", true, 15},
        {"unpaired high surrogate", good + QByteArray("\x00\xD8", 2), true, 15},
        {"lone low surrogate", good + QByteArray("\x00\xDC", 2), true, 15},
        {"NUL character", good + QByteArray("\0\0", 2), true, 15},
        {"neither UTF-16 nor UTF-8", "[ElSpinEditFreqVar]\r\nvalue=99\xFF\r\n", true, 15},
        {"over the size cap", good + QByteArray(16 * 1024 * 1024, ' '), true, 15},
    };
    const QString folder = QFileInfo(SettingsFile()).absolutePath();
    const QString asideGlob = QFileInfo(SettingsFile()).fileName() + ".unreadable-*";
    for (const Case &c : cases) {
        dialogs.shown.clear();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QFile f(SettingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        auto form = Open();
        EXPECT_EQ(Shown().size(), c.warns ? 1 : 0) << c.what;
        const QStringList aside = QDir(folder).entryList({asideGlob}, QDir::Files);
        EXPECT_EQ(aside.size(), c.warns ? 1 : 0) << c.what;
        if (c.warns && !Shown().isEmpty() && !aside.isEmpty()) {
            EXPECT_TRUE(Shown()[0].contains(SettingsFile())) << c.what;
            EXPECT_TRUE(Shown()[0].contains(QDir(folder).filePath(aside[0]))) << c.what;
        }
        EXPECT_EQ(form->ElSpinEditFreqVar->Value(), c.freqVar) << c.what;
        // A file that was read but lacks a section gives the reader's default.
        EXPECT_EQ(form->ElSpinEditPercentFail->Value(), c.warns ? 10 : 0) << c.what;
        form.reset();
        // Closing wrote a good file, without a second warning, and left the
        // kept file as it was.
        EXPECT_EQ(Shown().size(), c.warns ? 1 : 0) << c.what;
        EXPECT_NO_THROW(TMyIniFile check(SettingsFile())) << c.what;
        if (!aside.isEmpty()) {
            QFile kept(QDir(folder).filePath(aside[0]));
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << c.what;
            EXPECT_TRUE(kept.readAll() == c.bytes) << c.what;
        }
    }

    // Random bytes: every read ends in content or in TIniFileError.
    QRandomGenerator rng(42);
    for (int i = 0; i < 500; ++i) {
        QByteArray bytes(int(rng.bounded(200)), '\0');
        for (char &b : bytes)
            b = char(rng.bounded(256));
        if (i % 2 == 0 && bytes.size() >= 2)
            bytes[0] = '\xFF', bytes[1] = '\xFE';
        const QString path = dir.write("fuzz.ini", bytes);
        try {
            TMyIniFile ini(path);
            QStringList lines;
            ini.ReadMultiString("x", lines);
        } catch (const TIniFileError &) {
        }
    }
}

TEST_F(SettingsTest, FileThatCannotBeWrittenWarnsOnceAndTheWindowStillCloses) {
    // The settings folder's place is taken by a file: nothing can be made
    // there.
    const QString folder = QFileInfo(SettingsFile()).absolutePath();
    QDir(folder).removeRecursively();
    dir.write(QDir(dir.path()).relativeFilePath(folder), "in the way");
    auto form = Open();
    EXPECT_TRUE(Shown().isEmpty());
    form.reset();
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains("cannot be written"));
}

// A file that goes bad while the window is open is kept aside at closing;
// one that cannot be kept aside (its folder is read-only) is not overwritten.
TEST_F(SettingsTest, AFileThatWentBadIsKeptAsideOrLeftAloneAtClosing) {
    WriteSettings({"[ElSpinEditFreqVar]", "value=33"});
    const QString folder = QFileInfo(SettingsFile()).absolutePath();
    const QByteArray bad = "\xFF\xFE[\0x";
    {
        auto form = Open();
        dir.write(QDir(dir.path()).relativeFilePath(SettingsFile()), bad);
        form.reset();
        const QStringList aside = QDir(folder).entryList({"*.unreadable-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1);
        ASSERT_EQ(Shown().size(), 1);
        EXPECT_TRUE(Shown()[0].contains(aside[0])) << Shown()[0].toStdString();
        EXPECT_EQ(TMyIniFile(SettingsFile()).ReadInteger("ElSpinEditFreqVar", "value", 0), 33);
    }
    // Keeping aside needs a folder we may change, which root always may.
    if (::geteuid() == 0)
        return;
    dialogs.shown.clear();
    QDir(folder).removeRecursively();
    dir.write(QDir(dir.path()).relativeFilePath(SettingsFile()), bad);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0500), 0);
    Open().reset();
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    ASSERT_FALSE(Shown().isEmpty());
    EXPECT_TRUE(Shown().back().contains("cannot be kept aside")) << Shown().back().toStdString();
    QFile f(SettingsFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bad);
}

TEST_F(SettingsTest, ColoursReadAndWrite) {
    TMyIniFile ini(dir.file("colours.ini"));
    ini.WriteColor("C", "named", RGBColor(255, 0, 0));
    ini.WriteColor("C", "other", RGBColor(0x12, 0x34, 0x56));
    EXPECT_EQ(ini.ReadString("C", "named", ""), "clRed");
    EXPECT_EQ(ini.ReadString("C", "other", ""), "$00563412");
    struct Case {
        QString text;
        TColor expected;
    } cases[] = {
        {"clRed", RGBColor(255, 0, 0)},
        {"$00563412", RGBColor(0x12, 0x34, 0x56)},
        {"#$FF", 255},
        {"255", 255},
        {"1.2.3", RGBColor(1, 2, 3)},
        {"257.2.3", RGBColor(1, 2, 3)},
        {"1.2", 7},
        {"1.2.3.4", 7},
        {"a.2.3", 7},
        {"#FF0000", 7}, // no "$": not a number the conversion takes
        {"nonsense", 7},
    };
    for (const Case &c : cases) {
        ini.WriteString("C", "x", c.text);
        EXPECT_EQ(ini.ReadColor("C", "x", 7), c.expected) << c.text.toStdString();
    }
    EXPECT_EQ(ini.ReadColor("C", "missing", clNavy), clNavy);
}

} // namespace
