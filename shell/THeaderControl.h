// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A row of column headings whose sections another control may draw, with
// click and resize notices.

#include <QHeaderView>
#include <QStringList>
#include <functional>

class QStandardItemModel;

class THeaderControl : public QHeaderView {
    Q_OBJECT
public:
    explicit THeaderControl(QWidget *parent = nullptr);

    void SetSections(const QStringList &texts, const QList<int> &widths = {});
    int SectionCount() const { return count(); }
    QString SectionText(int i) const;
    int SectionWidth(int i) const { return sectionSize(i); }

    // Set: every section is drawn by OnDrawSection.
    std::function<void(QPainter &, int section, const QRect &)> OnDrawSection;
    std::function<void(int section)> OnSectionClick;
    std::function<void(int section)> OnSectionResize;
    // After the whole header changed size.
    std::function<void()> OnResize;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QStandardItemModel *fModel;
};
