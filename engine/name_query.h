// CNameQuery: the filter language for entry names, one matcher for the
// views and vantor-pak.
//
//   maps bsp      both terms must match (terms are separated by spaces)
//   wav | ogg     either term: "|" joins neighbouring terms into one choice
//   !temp         the term must not match
//   ^maps  .bsp$  anchored at the name's start, or at its end
//   'a*b          the rest taken literally: no globs, anchors or "!"
//   e?m*          "*" is any run of bytes, "?" one byte
//
// A plain term matches anywhere in the name. Smart case: a term with an
// upper-case letter matches case-sensitively, others ignore ASCII case.
// Names are bytes; nothing is ever turned into a regular expression.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantor {

// Names laid out for matching many at once: each name's bytes and then its
// ASCII-folded copy, all in one buffer, so that a keystroke's match over a
// million names reads memory in order and compares bytes without folding.
class CNameTable {
public:
    void Clear();
    void Append(std::string_view name);
    void Reserve(std::size_t nNames, std::size_t nNameBytes);
    std::size_t Size() const { return m_starts.size(); }
    std::string_view Name(std::size_t i) const { return {m_bytes.data() + m_starts[i], Length(i)}; }
    std::string_view Folded(std::size_t i) const { return {m_bytes.data() + m_starts[i] + Length(i), Length(i)}; }

private:
    std::size_t Length(std::size_t i) const
    {
        const std::size_t nEnd = i + 1 < m_starts.size() ? m_starts[i + 1] : m_bytes.size();
        return (nEnd - m_starts[i]) / 2;
    }

    std::string m_bytes;
    std::vector<std::size_t> m_starts;
};

class CNameQuery {
public:
    CNameQuery() = default;
    explicit CNameQuery(std::string_view query);

    // True for every name when the query holds no term.
    bool Matches(std::string_view name) const;
    bool Matches(const CNameTable& names, std::size_t i) const { return Matches(names.Name(i), names.Folded(i)); }
    bool IsEmpty() const { return m_clauses.empty(); }

    // The byte ranges [first, second) of name that the query's matching
    // terms found, in order and never overlapping, for highlighting. Negated
    // terms find nothing to show; a glob shows its literal runs.
    std::vector<std::pair<std::size_t, std::size_t>> MatchedSpans(std::string_view name) const;

    // True when every name newer matches is sure to match older too, so a
    // filter may search older's result instead of every name: newer only
    // adds to older's text, adds no "|", and either older holds nothing an
    // addition could widen or turn around ("|", "!", "$") or the addition
    // starts new terms after a space (and older does not end in "|").
    static bool Narrows(std::string_view older, std::string_view newer);

private:
    struct CTerm {
        std::string text;  // a glob's with its unanchored ends made "*"
        bool bNegated = false;
        bool bAtStart = false;
        bool bAtEnd = false;
        bool bGlob = false;
        bool bCaseSensitive = false;
    };
    static CTerm ParseTerm(std::string_view token);
    // folded is name with ASCII letters made lower case.
    bool Matches(std::string_view name, std::string_view folded) const;
    static bool TermMatches(const CTerm& term, std::string_view name, std::string_view folded);

    // All clauses must hold; a clause holds when any of its terms does.
    std::vector<std::vector<CTerm>> m_clauses;
};

}  // namespace vantor
