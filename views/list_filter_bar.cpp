#include "list_filter_bar.h"

#include "pak_list_model.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <chrono>

namespace vantor {

namespace {

// A slice leaves the event loop time to paint and to take the next key.
constexpr auto kSliceTime = std::chrono::milliseconds(8);
constexpr std::size_t kRowsBetweenClockReads = 4096;

// The tint of the field and the count while a filter hides rows.
const QColor kActiveTint(255, 236, 160);

}  // namespace

CListFilterBar::CListFilterBar(CPakListModel& model, QWidget* pParent)
    : QWidget(pParent),
      m_model(model),
      m_pField(new QLineEdit(this)),
      m_pAllFolders(new QCheckBox(QStringLiteral("All folders"), this)),
      m_pCount(new QLabel(this)),
      m_pNextSlice(new QTimer(this))
{
    setObjectName(QStringLiteral("listFilterBar"));
    m_pField->setObjectName(QStringLiteral("filterField"));
    m_pField->setPlaceholderText(QStringLiteral("Filter (Ctrl+F)"));
    m_pField->setClearButtonEnabled(true);
    m_pField->setToolTip(
        QStringLiteral("Terms separated by spaces must all match; a | b matches either; !t must not match;\n"
                       "^t at the start, t$ at the end; 't literally; * and ? are globs.\n"
                       "A term with an upper-case letter matches case."));
    m_pField->installEventFilter(this);
    m_pAllFolders->setObjectName(QStringLiteral("filterAllFolders"));
    m_pAllFolders->setToolTip(QStringLiteral("Filter the entries of every folder, named by their full paths"));
    m_pCount->setObjectName(QStringLiteral("filterCount"));
    m_pCount->setContentsMargins(6, 0, 6, 0);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(2, 2, 2, 2);
    pLayout->addWidget(m_pField, 1);
    pLayout->addWidget(m_pCount);
    pLayout->addWidget(m_pAllFolders);

    m_pNextSlice->setSingleShot(true);
    m_pNextSlice->setInterval(0);
    connect(m_pNextSlice, &QTimer::timeout, this, [this] {
        if (RunSlice())
            ApplyMatch();
        else
            m_pNextSlice->start();
    });
    connect(m_pField, &QLineEdit::textChanged, this, &CListFilterBar::OnTextChanged);
    connect(m_pAllFolders, &QCheckBox::toggled, this, &CListFilterBar::allFoldersToggled);
    // Rows replaced or removed under a running match make its row numbers
    // stale: it starts again over the new rows.
    connect(&m_model, &CPakListModel::rowsChanged, this, [this] {
        if (m_bMatching && !m_bApplying)
            StartMatch(m_text);
        ShowState();
    });
    ShowState();
}

void CListFilterBar::FocusField()
{
    m_pField->setFocus(Qt::ShortcutFocusReason);
    m_pField->selectAll();
}

void CListFilterBar::Clear()
{
    m_pField->clear();
    SetAllFolders(false);
}

void CListFilterBar::SetText(const QString& text)
{
    m_pField->setText(text);
}

bool CListFilterBar::IsAllFolders() const
{
    return m_pAllFolders->isChecked();
}

void CListFilterBar::SetAllFolders(bool bOn)
{
    m_pAllFolders->setChecked(bOn);
}

QString CListFilterBar::CountText() const
{
    if (!m_model.IsFiltered())
        return {};
    return QStringLiteral("%1 of %2").arg(m_model.RowCount()).arg(m_model.AllRowCount());
}

void CListFilterBar::FinishMatching()
{
    if (!m_bMatching)
        return;
    m_pNextSlice->stop();
    while (!RunSlice()) {
    }
    ApplyMatch();
}

void CListFilterBar::OnTextChanged(const QString& text)
{
    // Names are bytes in the pak; the field's text is typed as UTF-8.
    StartMatch(text.toStdString());
}

void CListFilterBar::StartMatch(const std::string& text)
{
    m_pNextSlice->stop();
    m_bMatching = false;
    m_text = text;
    m_query = CNameQuery(text);
    if (m_query.IsEmpty()) {
        m_model.ClearFilter();
        return;
    }
    m_bEveryRow = !(m_model.IsFiltered() && CNameQuery::Narrows(m_model.FilterText(), text));
    m_candidates = m_bEveryRow ? std::vector<std::uint32_t>() : m_model.ShownIndices();
    m_nNext = 0;
    m_found.clear();
    m_bMatching = true;
    // Most queries finish within the first slice and show at once.
    if (RunSlice())
        ApplyMatch();
    else
        m_pNextSlice->start();
}

bool CListFilterBar::RunSlice()
{
    const CNameTable& names = m_model.MatchNames();
    const std::size_t nEnd = m_bEveryRow ? names.Size() : m_candidates.size();
    const auto deadline = std::chrono::steady_clock::now() + kSliceTime;
    while (m_nNext < nEnd) {
        const std::size_t nStop = std::min(nEnd, m_nNext + kRowsBetweenClockReads);
        for (; m_nNext < nStop; ++m_nNext) {
            const auto nIndex = m_bEveryRow ? static_cast<std::uint32_t>(m_nNext) : m_candidates[m_nNext];
            if (m_query.Matches(names, nIndex))
                m_found.push_back(nIndex);
        }
        if (m_nNext < nEnd && std::chrono::steady_clock::now() >= deadline)
            return false;
    }
    return true;
}

void CListFilterBar::ApplyMatch()
{
    m_bMatching = false;
    m_bApplying = true;
    m_model.SetFilter(m_text, std::move(m_found));
    m_bApplying = false;
    m_found = {};
    m_candidates = {};
}

void CListFilterBar::ShowState()
{
    const QString count = CountText();
    m_pCount->setText(count);
    m_pCount->setVisible(!count.isEmpty());
    // Unmistakable while rows are hidden: the field and the count tinted.
    const bool bActive = m_model.IsFiltered();
    QPalette palette = QWidget::palette();
    if (bActive) {
        palette.setColor(QPalette::Base, kActiveTint);
        palette.setColor(QPalette::Window, kActiveTint);
        palette.setColor(QPalette::Text, Qt::black);
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    m_pField->setPalette(palette);
    m_pCount->setAutoFillBackground(bActive);
    m_pCount->setPalette(palette);
    QFont font = m_pCount->font();
    font.setBold(bActive);
    m_pCount->setFont(font);
}

bool CListFilterBar::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched != m_pField)
        return QWidget::eventFilter(pWatched, pEvent);
    if (pEvent->type() == QEvent::ShortcutOverride) {
        // Del, Backspace, Ctrl+A and the clipboard keys edit the text here,
        // never the selected rows. The function keys keep their commands.
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const bool bFunctionKey = pKey->key() >= Qt::Key_F1 && pKey->key() <= Qt::Key_F35;
        if (!bFunctionKey && pKey->keyCombination() != QKeyCombination(Qt::ControlModifier, Qt::Key_F)) {
            pEvent->accept();
            return true;
        }
    } else if (pEvent->type() == QEvent::KeyPress) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        switch (pKey->key()) {
        case Qt::Key_Escape:
            Clear();
            emit leaveField();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            FinishMatching();
            emit leaveField();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

}  // namespace vantor
