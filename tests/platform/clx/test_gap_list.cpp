// The list a string grid keeps its rows in, edited at random places and in
// runs at one place (as rows deleted one after another are), agrees with a
// vector edited alike.
#include "clx/GapList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

TEST(GapList, EditsAnywhereAgreeWithAVector) {
    std::mt19937 random(20261209);
    auto pick = [&](std::size_t Last) {
        return std::uniform_int_distribution<std::size_t>(0, Last)(random);
    };
    std::vector<std::string> expected{"a", "b", "c"};
    TGapList<std::string> list;
    list.Assign(expected);
    auto at = [&](std::size_t Index) { return expected.begin() + static_cast<std::ptrdiff_t>(Index); };
    std::size_t place = 0;
    for (int step = 0; step < 4000; ++step) {
        const std::size_t count = expected.size();
        // Half of the edits stay where the last one was.
        place = std::min(pick(1) == 0 ? pick(count) : place, count);
        const std::string item = std::to_string(step);
        const std::size_t kind = pick(4);
        if (kind <= 1) {
            list.Insert(place, item);
            expected.insert(at(place), item);
        } else if (kind == 2 && place < count) {
            list.Delete(place);
            expected.erase(at(place));
        } else if (kind == 3 && place < count) {
            const std::size_t to = pick(count - 1);
            list.Move(place, to);
            std::string moved = expected[place];
            expected.erase(at(place));
            expected.insert(at(to), moved);
        } else if (step % 10 == 0) {
            // New items are empty.
            const std::size_t wanted = count / 2 + pick(count);
            list.SetCount(wanted);
            expected.resize(wanted);
        }
        ASSERT_EQ(list.Count(), expected.size()) << "step " << step;
        for (std::size_t index = 0; step % 100 == 0 && index < expected.size(); ++index)
            ASSERT_EQ(list[index], expected[index]) << "step " << step << " at " << index;
    }
    for (std::size_t index = 0; index < expected.size(); ++index)
        EXPECT_EQ(list[index], expected[index]) << "at " << index;
}

} // namespace
