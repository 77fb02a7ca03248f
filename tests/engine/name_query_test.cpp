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
        for (const std::string& name : c.matching)
            EXPECT_TRUE(query.Matches(name)) << '"' << c.query << "\" should match \"" << name << '"';
        for (const std::string& name : c.other)
            EXPECT_FALSE(query.Matches(name)) << '"' << c.query << "\" should not match \"" << name << '"';
    }
    EXPECT_TRUE(CNameQuery("").IsEmpty());
    EXPECT_FALSE(CNameQuery("x").IsEmpty());
}

}  // namespace
