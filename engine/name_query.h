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

class CNameQuery {
public:
    CNameQuery() = default;
    explicit CNameQuery(std::string_view query);

    // True for every name when the query holds no term.
    bool Matches(std::string_view name) const;
    bool IsEmpty() const { return m_clauses.empty(); }

    // The byte ranges [first, second) of name that the query's matching
    // terms found, in order and never overlapping, for highlighting. Negated
    // terms find nothing to show; a glob shows its literal runs.
    std::vector<std::pair<std::size_t, std::size_t>> MatchedSpans(std::string_view name) const;

    // True when every name newer matches is sure to match older too, so a
    // filter may search older's result instead of every name: newer only
    // adds to older's text, and older holds nothing an addition could
    // widen or turn around ("|", "!", "$").
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
    static bool TermMatches(const CTerm& term, std::string_view name);

    // All clauses must hold; a clause holds when any of its terms does.
    std::vector<std::vector<CTerm>> m_clauses;
};

}  // namespace vantor
