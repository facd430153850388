// The list a string grid keeps its rows in, edited at random places (and
// in runs at one place, as rows deleted one after another are), agrees with
// a vector edited alike.
#include "clx/GapList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

void ExpectSame(const TGapList<std::string>& List, const std::vector<std::string>& Expected) {
    ASSERT_EQ(List.Count(), Expected.size());
    for (std::size_t index = 0; index < Expected.size(); ++index)
        ASSERT_EQ(List[index], Expected[index]) << "at " << index;
}

TEST(GapList, EditsAnywhereAgreeWithAVector) {
    std::mt19937 random(20261209);
    auto pick = [&](std::size_t Last) {
        return std::uniform_int_distribution<std::size_t>(0, Last)(random);
    };
    std::vector<std::string> expected{"a", "b", "c", "d"};
    TGapList<std::string> list;
    list.Assign(expected);
    std::size_t at = 0;
    for (int step = 0; step < 4000; ++step) {
        const std::size_t count = expected.size();
        // Half of the edits stay where the last one was.
        if (pick(1) == 0)
            at = pick(count);
        at = std::min(at, count);
        const std::string item = std::to_string(step);
        switch (pick(5)) {
        case 0:
        case 1:
            list.Insert(at, item);
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), item);
            break;
        case 2:
            if (at < count) {
                list.Delete(at);
                expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
            }
            break;
        case 3:
            if (count > 0) {
                const std::size_t from = std::min(at, count - 1), to = pick(count - 1);
                list.Move(from, to);
                std::string moved = expected[from];
                expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(from));
                expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(to), moved);
            }
            break;
        case 4:
            if (at < count) {
                list[at] = item;
                expected[at] = item;
            }
            break;
        default:
            // Now and then the count changes: new items are empty.
            if (step % 10 == 0) {
                const std::size_t wanted = count / 2 + pick(count);
                list.SetCount(wanted);
                expected.resize(wanted);
            }
        }
        ASSERT_EQ(list.Count(), expected.size()) << "step " << step;
        if (step % 100 == 0)
            ExpectSame(list, expected);
    }
    ExpectSame(list, expected);
}

} // namespace
