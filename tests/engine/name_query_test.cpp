// The filter language as one table: each query against the names it must
// and must not match.
#include "name_query.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

TEST(NameQuery, MatchesWhatEachTermKindSays)
{
    const struct {
        const char* query;
        std::vector<std::string> matching;
        std::vector<std::string> other;
    } cases[] = {
        {"", {"anything", ""}, {}},
        {"  |  ! ^ ", {"anything"}, {}},  // nothing but operators yet: no term
        {"bsp", {"maps/e1m1.bsp", "BSP.txt"}, {"maps/e1m1.bs"}},
        {"maps bsp", {"maps/e1m1.bsp"}, {"maps/e1m1.map", "e1m1.bsp"}},
        {"wav | ogg", {"a.wav", "b.ogg"}, {"c.mp3"}},
        {"sound wav | ogg !ambience", {"sound/a.wav", "sound/b.ogg"}, {"sound/ambience/c.wav", "music/a.wav"}},
        {"!temp", {"maps/a.bsp"}, {"maps/temp.tmp"}},
        {"^maps", {"maps/a.bsp", "MAPS/a"}, {"oldmaps/a.bsp"}},
        {".bsp$", {"a.bsp"}, {"a.bsp.bak"}},
        {"^progs.dat$", {"progs.dat"}, {"progs.dat2", "xprogs.dat"}},
        {"e?m*.bsp", {"maps/e1m1.bsp", "e2m10.bsp.old"}, {"em1.bsp"}},
        {"^e*1$", {"e1m1", "e11"}, {"xe1m1", "e1m2"}},
        {"^*", {"a", ""}, {}},
        {"a*b*c*d", {"a-b-c-d", "abcd", "aXbYcZd-tail"}, {"a-b-d-c"}},
        {"'a*b", {"xa*by"}, {"axxb"}},
        {"'^lit$", {"^lit$"}, {"lit"}},
        {"!'*", {"plain"}, {"star*"}},
        {"Player", {"progs/Player.mdl"}, {"progs/player.mdl"}},  // an upper-case letter: exact case
        {"player", {"progs/Player.mdl", "progs/PLAYER.MDL"}, {}},
        {"caf\xe9", {"caf\xe9.wav", "CAF\xe9"}, {"caf\xc9"}},  // only ASCII folds; other bytes as they are
        {"t\xc3\xa9", {"\xc3\xa9t\xc3\xa9"}, {"ete"}},  // UTF-8 bytes in a term
    };
    for (const auto& c : cases) {
        const CNameQuery query(c.query);
        // Each name alone, and the same names laid out in one table.
        CNameTable table;
        for (const std::vector<std::string>* pNames : {&c.matching, &c.other}) {
            for (const std::string& name : *pNames)
                table.Append(name);
        }
        std::size_t nRow = 0;
        for (const std::string& name : c.matching) {
            EXPECT_TRUE(query.Matches(name)) << '"' << c.query << "\" should match \"" << name << '"';
            EXPECT_EQ(table.Name(nRow), name);
            EXPECT_TRUE(query.Matches(table, nRow++)) << '"' << c.query << "\" should match \"" << name << "\" in a table";
        }
        for (const std::string& name : c.other) {
            EXPECT_FALSE(query.Matches(name)) << '"' << c.query << "\" should not match \"" << name << '"';
            EXPECT_FALSE(query.Matches(table, nRow++)) << '"' << c.query << "\" should not match \"" << name << "\" in a table";
        }
    }
    EXPECT_TRUE(CNameQuery("").IsEmpty());
    EXPECT_FALSE(CNameQuery("x").IsEmpty());
}

TEST(NameQuery, SpansShowWhatEachMatchingTermFound)
{
    using Spans = std::vector<std::pair<std::size_t, std::size_t>>;
    const struct {
        const char* query;
        const char* name;
        Spans spans;
    } cases[] = {
        {"bsp", "maps/e1m1.BSP", {{10, 13}}},
        {"maps bsp", "maps/e1m1.bsp", {{0, 4}, {10, 13}}},
        {"m1 e1m", "maps/e1m1.bsp", {{5, 9}}},  // overlapping finds merge
        {"^maps .bsp$", "maps/maps.bsp", {{0, 4}, {9, 13}}},
        {"wav | ogg", "a.ogg", {{2, 5}}},  // only the choice that matched
        {"!temp maps", "maps/a", {{0, 4}}},
        {"e*.bsp$", "e1.bsp.bsp", {{0, 1}, {6, 10}}},
        {"x", "maps/a", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CNameQuery(c.query).MatchedSpans(c.name), c.spans) << c.query << " in " << c.name;
}

// A filter searches the last result again when the query only narrowed;
// a wrong "narrows" would hide names that match.
TEST(NameQuery, NarrowingNeverLosesAMatch)
{
    const struct {
        const char* older;
        const char* newer;
        bool bNarrows;
    } cases[] = {
        {"", "m", true},
        {"ma", "map", true},
        {"maps", "maps b", true},
        {"^ma", "^map", true},
        {"bsp", "bsp$", true},
        {"e", "e?m", true},
        {"e1", "e1 !x", true},
        {"p", "pL", true},
        {"a", "a | b", false},
        {"a |", "a | b", false},
        {"!a", "!ab", false},
        {"a$", "a$b", false},
        {"map", "ma", false},
        {"a | b", "a | b c", true},  // a new term after a space: one more clause
        {"!a", "!a b", true},
        {"b$", "b$ m", true},
        {"a | ", "a | b", false},
        {"a | b", "a | bc", false},  // inside a choice: kept simple
        {"!a", "!a | b", false},
        {"!", "! a", true},
    };
    const std::vector<std::string> names = {"maps/e1m1.bsp", "maps/a$b", "a", "b", "ab", "Player", "pL", "e1x", "x", "mb", "bm"};
    for (const auto& c : cases) {
        EXPECT_EQ(CNameQuery::Narrows(c.older, c.newer), c.bNarrows) << c.older << " -> " << c.newer;
        if (!c.bNarrows)
            continue;
        const CNameQuery older(c.older);
        const CNameQuery newer(c.newer);
        for (const std::string& name : names)
            EXPECT_TRUE(!newer.Matches(name) || older.Matches(name)) << c.newer << " widened " << c.older;
    }
}

}  // namespace
