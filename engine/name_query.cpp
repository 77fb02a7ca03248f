#include "name_query.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vantor {

namespace {

// ASCII case folding by table: the inner loop of every keystroke's match.
constexpr std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table;
}();

char Fold(char c)
{
    return static_cast<char>(kFold[static_cast<unsigned char>(c)]);
}

bool SameByte(char a, char b, bool bCaseSensitive)
{
    return bCaseSensitive ? a == b : Fold(a) == Fold(b);
}

bool EqualAt(std::string_view name, std::size_t nAt, std::string_view text, bool bCaseSensitive)
{
    if (nAt + text.size() > name.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!SameByte(name[nAt + i], text[i], bCaseSensitive))
            return false;
    }
    return true;
}

// Whether text occurs in name, byte for byte. Names are short: a plain loop
// beats a library search's cost of starting.
bool Contains(std::string_view name, std::string_view text)
{
    if (text.size() > name.size())
        return false;
    if (text.empty())
        return true;
    const char first = text[0];
    const char* pName = name.data();
    const std::size_t nRest = text.size() - 1;
    const std::size_t nLast = name.size() - text.size();
    for (std::size_t i = 0; i <= nLast; ++i) {
        if (pName[i] == first && std::memcmp(pName + i + 1, text.data() + 1, nRest) == 0)
            return true;
    }
    return false;
}

std::string FoldAll(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = Fold(c);
    return folded;
}

// The whole of name against a pattern of bytes, '*' and '?'. Greedy with
// one point to return to, so a name is read a bounded number of times
// however many stars the pattern holds.
bool GlobMatches(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Where text first occurs in name at or after nFrom; npos when nowhere.
std::size_t FindFrom(std::string_view name, std::size_t nFrom, std::string_view text, bool bCaseSensitive)
{
    for (std::size_t i = nFrom; i + text.size() <= name.size(); ++i) {
        if (EqualAt(name, i, text, bCaseSensitive))
            return i;
    }
    return std::string_view::npos;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

CNameQuery::CNameQuery(std::string_view query)
{
    bool bJoinNext = false;
    for (std::size_t i = 0; i < query.size();) {
        while (i < query.size() && IsSpace(query[i]))
            ++i;
        std::size_t nEnd = i;
        while (nEnd < query.size() && !IsSpace(query[nEnd]))
            ++nEnd;
        const std::string_view token = query.substr(i, nEnd - i);
        i = nEnd;
        if (token.empty())
            continue;
        if (token == "|") {
            bJoinNext = !m_clauses.empty();
            continue;
        }
        const CTerm term = ParseTerm(token);
        // "!" or "^" alone says nothing yet: the user is still typing.
        if (term.text.empty())
            continue;
        if (bJoinNext)
            m_clauses.back().push_back(term);
        else
            m_clauses.push_back({term});
        bJoinNext = false;
    }
}

CNameQuery::CTerm CNameQuery::ParseTerm(std::string_view token)
{
    CTerm term;
    if (token.front() == '!') {
        term.bNegated = true;
        token.remove_prefix(1);
    }
    if (!token.empty() && token.front() == '\'') {
        term.text = token.substr(1);
    } else {
        if (!token.empty() && token.front() == '^') {
            term.bAtStart = true;
            token.remove_prefix(1);
        }
        if (!token.empty() && token.back() == '$') {
            term.bAtEnd = true;
            token.remove_suffix(1);
        }
        term.text = token;
        term.bGlob = token.find_first_of("*?") != std::string_view::npos;
        // Unanchored ends match anywhere, as a plain term does.
        if (term.bGlob)
            term.text = (term.bAtStart ? "" : "*") + term.text + (term.bAtEnd ? "" : "*");
    }
    term.bCaseSensitive = std::any_of(term.text.begin(), term.text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    return term;
}

bool CNameQuery::TermMatches(const CTerm& term, std::string_view name, std::string_view folded)
{
    // A term that ignores case holds no upper-case letter: against the
    // folded name, every comparison is exact.
    const std::string_view subject = term.bCaseSensitive ? name : folded;
    const std::string_view text = term.text;
    bool bMatch;
    if (term.bGlob) {
        bMatch = GlobMatches(text, subject);
    } else if (term.bAtStart && term.bAtEnd) {
        bMatch = subject == text;
    } else if (term.bAtStart) {
        bMatch = subject.starts_with(text);
    } else if (term.bAtEnd) {
        bMatch = subject.ends_with(text);
    } else {
        bMatch = Contains(subject, text);
    }
    return bMatch != term.bNegated;
}

bool CNameQuery::Matches(std::string_view name) const
{
    // A pak's names fit the stack: no allocation for each of a million.
    char buffer[64];
    if (name.size() > sizeof buffer)
        return Matches(name, FoldAll(name));
    for (std::size_t i = 0; i < name.size(); ++i)
        buffer[i] = Fold(name[i]);
    return Matches(name, std::string_view(buffer, name.size()));
}

bool CNameQuery::Matches(std::string_view name, std::string_view folded) const
{
    for (const std::vector<CTerm>& clause : m_clauses) {
        if (std::none_of(clause.begin(), clause.end(), [&](const CTerm& term) { return TermMatches(term, name, folded); }))
            return false;
    }
    return true;
}

std::vector<std::pair<std::size_t, std::size_t>> CNameQuery::MatchedSpans(std::string_view name) const
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    const auto add = [&](std::size_t nFirst, std::size_t nLength) {
        if (nLength > 0)
            spans.emplace_back(nFirst, nFirst + nLength);
    };
    for (const std::vector<CTerm>& clause : m_clauses) {
        for (const CTerm& term : clause) {
            if (term.bNegated || !TermMatches(term, name, FoldAll(name)))
                continue;
            const bool bCase = term.bCaseSensitive;
            if (term.bGlob) {
                // Each literal run at its first place after the one before,
                // as the match itself may have found them.
                std::size_t nAt = 0;
                std::size_t nRun = 0;
                const std::string& text = term.text;
                while (nRun < text.size()) {
                    while (nRun < text.size() && (text[nRun] == '*' || text[nRun] == '?'))
                        nAt += text[nRun++] == '?' ? 1 : 0;
                    std::size_t nEnd = nRun;
                    while (nEnd < text.size() && text[nEnd] != '*' && text[nEnd] != '?')
                        ++nEnd;
                    const std::string_view run(text.data() + nRun, nEnd - nRun);
                    if (run.empty())
                        break;
                    const bool bFixed = nRun == 0 || text[nRun - 1] == '?';
                    std::size_t nFound = bFixed ? (EqualAt(name, nAt, run, bCase) ? nAt : std::string_view::npos)
                                                : FindFrom(name, nAt, run, bCase);
                    if (term.bAtEnd && nEnd == text.size() && name.size() >= run.size())
                        nFound = name.size() - run.size();
                    if (nFound == std::string_view::npos)
                        break;
                    add(nFound, run.size());
                    nAt = nFound + run.size();
                    nRun = nEnd;
                }
            } else if (term.bAtStart) {
                add(0, term.text.size());
            } else if (term.bAtEnd) {
                add(name.size() - term.text.size(), term.text.size());
            } else {
                add(FindFrom(name, 0, term.text, bCase), term.text.size());
            }
        }
    }
    // Ordered and merged, so a painter walks them once.
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<std::size_t, std::size_t>> merged;
    for (const auto& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, span.second);
        else
            merged.push_back(span);
    }
    return merged;
}

void CNameTable::Clear()
{
    m_bytes.clear();
    m_starts.clear();
}

void CNameTable::Append(std::string_view name)
{
    const std::size_t nStart = m_bytes.size();
    m_starts.push_back(nStart);
    m_bytes.resize(nStart + 2 * name.size());
    char* pOut = m_bytes.data() + nStart;
    std::memcpy(pOut, name.data(), name.size());
    for (std::size_t i = 0; i < name.size(); ++i)
        pOut[name.size() + i] = Fold(name[i]);
}

void CNameTable::Reserve(std::size_t nNames, std::size_t nNameBytes)
{
    m_starts.reserve(nNames);
    m_bytes.reserve(2 * nNameBytes);
}

bool CNameQuery::Narrows(std::string_view older, std::string_view newer)
{
    if (!newer.starts_with(older))
        return false;
    const std::string_view added = newer.substr(older.size());
    if (added.find('|') != std::string_view::npos)
        return false;
    if (older.find_first_of("|!$") == std::string_view::npos)
        return true;
    // New terms after a space add clauses, whatever the old ones were,
    // unless the old text ends in "|", which would join the next term to
    // its choice.
    if (added.empty() || !IsSpace(added.front()))
        return false;
    std::size_t nEnd = older.size();
    while (nEnd > 0 && IsSpace(older[nEnd - 1]))
        --nEnd;
    std::size_t nStart = nEnd;
    while (nStart > 0 && !IsSpace(older[nStart - 1]))
        --nStart;
    return older.substr(nStart, nEnd - nStart) != "|";
}

}  // namespace vantor
