// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSetsDialog.h"

#include "RunSetup.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TReferenceSetsDialog::TReferenceSetsDialog(const QList<app::TNamedSet> &sets, QWidget *parent)
    : QDialog(parent), fSets(sets) {
    setWindowTitle(QStringLiteral("Reference sets"));
    auto *column = new QVBoxLayout(this);
    auto *intro = new QLabel(
        QStringLiteral("Under the extended checks each file is judged against the closest "
                       "set: the known good text files, the sets below and, when ticked, the "
                       "built-in languages."),
        this);
    intro->setWordWrap(true);
    column->addWidget(intro);
    auto *row = new QHBoxLayout;
    List = new QListWidget(this);
    row->addWidget(List, 1);
    auto *buttons = new QVBoxLayout;
    AddTexts = new QPushButton(QStringLiteral("Add &texts…"), this);
    AddProfile = new QPushButton(QStringLiteral("Add &profile…"), this);
    Rename = new QPushButton(QStringLiteral("&Rename…"), this);
    Remove = new QPushButton(QStringLiteral("Re&move"), this);
    for (QPushButton *b : {AddTexts, AddProfile, Rename, Remove})
        buttons->addWidget(b);
    buttons->addStretch(1);
    row->addLayout(buttons);
    column->addLayout(row, 1);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    column->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(AddTexts, &QPushButton::clicked, this, [this] { AddFromFiles(false); });
    connect(AddProfile, &QPushButton::clicked, this, [this] { AddFromFiles(true); });
    connect(Rename, &QPushButton::clicked, this, &TReferenceSetsDialog::RenameClick);
    connect(Remove, &QPushButton::clicked, this, [this] { RemoveSet(List->currentRow()); });
    connect(List, &QListWidget::currentRowChanged, this, [this](int r) {
        Rename->setEnabled(r >= 0);
        Remove->setEnabled(r >= 0);
    });
    resize(460, 280);
    Refill();
}

QString TReferenceSetsDialog::UniqueName(const QString &name, int except) const {
    const auto used = [&](const QString &n) {
        if (!engine::SetNameProblem(n).isEmpty())
            return true;
        for (int i = 0; i < fSets.size(); ++i)
            if (i != except && fSets.at(i).name.compare(n, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    // Sets are told apart by name in every explanation, so no two share one.
    const QString valid = ValidSetName(name);
    QString unique = valid;
    for (int k = 2; used(unique); ++k)
        unique = valid.left(60) + QLatin1Char('-') + QString::number(k);
    return unique;
}

QString ValidSetName(const QString &name) {
    // What a set's name may hold (engine::SetNameProblem): anything else
    // becomes '-', and it starts with a letter or digit.
    QString valid;
    for (const QChar c : name.trimmed()) {
        const char16_t u = c.unicode();
        const bool alnum =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
        if (alnum || (!valid.isEmpty() && (u == '-' || u == '_' || u == '.')))
            valid += c;
        else if (!valid.isEmpty() && !valid.endsWith(QLatin1Char('-')))
            valid += QLatin1Char('-');
    }
    while (valid.endsWith(QLatin1Char('-')))
        valid.chop(1);
    valid.truncate(64);
    return valid.isEmpty() ? QStringLiteral("set") : valid;
}

void TReferenceSetsDialog::AddSet(app::TNamedSet set) {
    if (set.files.isEmpty())
        return;
    set.name = UniqueName(set.name);
    fSets << set;
    Refill();
    List->setCurrentRow(int(fSets.size()) - 1);
}

void TReferenceSetsDialog::RemoveSet(int row) {
    if (row < 0 || row >= fSets.size())
        return;
    fSets.removeAt(row);
    Refill();
}

void TReferenceSetsDialog::RenameSet(int row, const QString &name) {
    if (row < 0 || row >= fSets.size())
        return;
    fSets[row].name = UniqueName(name, row);
    Refill();
    List->setCurrentRow(row);
}

void TReferenceSetsDialog::Refill() {
    List->clear();
    for (const app::TNamedSet &s : fSets) {
        app::TReferenceSetList one;
        one.SetSets({s});
        auto *item = new QListWidgetItem(one.Summary(), List);
        item->setToolTip(s.files.join(QLatin1Char('\n')));
    }
    Rename->setEnabled(List->currentRow() >= 0);
    Remove->setEnabled(List->currentRow() >= 0);
}

namespace {

// Asks until the name is one a set may have (the same rule as
// brindle-scan's --set) or the user cancels.
QString AskName(QWidget *parent, const QString &suggested, bool &ok) {
    QString label = QStringLiteral("Name of the set (a language, say):");
    QString name = suggested;
    for (;;) {
        name = QInputDialog::getText(parent, QStringLiteral("Reference set"), label,
                                     QLineEdit::Normal, name, &ok)
                   .trimmed();
        const QString problem = engine::SetNameProblem(name);
        if (!ok || problem.isEmpty())
            return name;
        label = QStringLiteral("That name cannot be used: %1.\nName of the set:").arg(problem);
    }
}

} // namespace

void TReferenceSetsDialog::AddFromFiles(bool profile) {
    QFileDialog dialog(this, profile ? QStringLiteral("Saved profile of the set")
                                     : QStringLiteral("Known good texts of the set"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(profile ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QStringList files = dialog.selectedFiles();
    // A profile is named after itself, texts after their folder.
    const QFileInfo first(files.first());
    bool ok = false;
    const QString name =
        AskName(this, UniqueName(profile ? first.completeBaseName() : first.dir().dirName()), ok);
    if (ok)
        AddSet({name, files, profile});
}

void TReferenceSetsDialog::RenameClick() {
    const int row = List->currentRow();
    if (row < 0 || row >= fSets.size())
        return;
    bool ok = false;
    const QString name = AskName(this, fSets.at(row).name, ok);
    if (ok)
        RenameSet(row, name);
}
