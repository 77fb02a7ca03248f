// CListFilterBar: the field above the item list that filters its rows as
// the user types, the "All folders" switch that widens the list to the
// whole pak, and the count of the rows shown. Matching runs in slices on
// the event loop, so a keystroke is never kept waiting: a match still
// running when the next one arrives is dropped for the new query, and a
// query that only narrows searches the last result instead of every row.
#pragma once

#include "name_query.h"

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace vantor {

class CPakListModel;

class CListFilterBar : public QWidget {
    Q_OBJECT

public:
    explicit CListFilterBar(CPakListModel& model, QWidget* pParent = nullptr);

    // Ctrl+F and "/": the field takes the keys, its text selected.
    void FocusField();
    // Esc: no filter and back to the current folder's rows.
    void Clear();
    // Puts text in the field as typing would.
    void SetText(const QString& text);
    bool IsAllFolders() const;
    void SetAllFolders(bool bOn);
    // "12 of 450" while a filter hides rows; empty otherwise.
    QString CountText() const;
    // Whether a match is still running in slices.
    bool IsMatching() const { return m_bMatching; }
    // Runs the pending match to its end at once (tests, benchmarks).
    void FinishMatching();

    QLineEdit* Field() const { return m_pField; }

signals:
    void allFoldersToggled(bool bOn);
    // The field hands the keys back to the list (Esc, Enter, Down).
    void leaveField();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnTextChanged(const QString& text);
    void StartMatch(const std::string& text);
    // Matches rows until the slice's time is up; true when all are done.
    bool RunSlice();
    void ApplyMatch();
    void ShowState();

    CPakListModel& m_model;
    QLineEdit* m_pField;
    QCheckBox* m_pAllFolders;
    QLabel* m_pCount;
    QTimer* m_pNextSlice;

    // The match running: its query, the rows it searches (every row, or
    // the last result when the query only narrowed it) and what it found.
    bool m_bMatching = false;
    bool m_bApplying = false;
    std::string m_text;
    CNameQuery m_query;
    bool m_bEveryRow = true;
    std::vector<std::uint32_t> m_candidates;
    std::size_t m_nNext = 0;
    std::vector<std::uint32_t> m_found;
};

}  // namespace vantor
