// What a desktop program is expected to do: keys, a window that grows, copying and saving, and what it
// remembers from one run to the next.
#include "WindowFixture.h"

namespace corvane {
namespace {

using test::Trade;
using test::WindowTest;
using Cells = std::vector<std::string>;

TEST_F(WindowTest, AGrownWindowGivesTheRoomToTheChartAndTheGrids)
{
    Load(Write("march.htm", {Trade("1001", "eurusd", "100.00", "1"), Trade("1002", "gbpusd", "50.00", "2")}));
    window.Timer1Timer(); // two magic numbers: the narrow arrangement
    const auto placesAt = [&](QSize growth) {
        for (int i = 0; i < kControlPlaceCount; ++i)
            EXPECT_EQ(Find<QWidget>(kControlPlaces[i].Name)->geometry(), GrownPlace(kControlPlaces[i], growth))
                << kControlPlaces[i].Name << " grown by " << growth.width() << "x" << growth.height();
    };
    window.resize(1000, 600);
    placesAt({103, 127});
    EXPECT_EQ(Find<QWidget>("Button8")->geometry(), QRect(927, 8, 65, 21));
    EXPECT_EQ(Find<QWidget>("Grid")->geometry(), QRect(8, 298, 984, 294));
    EXPECT_EQ(window.Canvas().Image().size(), QSize(912, 259));
    EXPECT_EQ(Pixel(790, 257), 0xc0c0c0u) << "the frame is drawn at the new size";
    EXPECT_EQ(Table("XGrid")->columnWidth(2), 720 + 103) << "the comments take the extra width";
    window.resize(700, 300);
    EXPECT_EQ(window.size(), QSize(897, 473)) << "never smaller than laid out";
    placesAt({0, 0});
    EXPECT_EQ(window.Canvas().Image().size(), QSize(809, 217));
}

} // namespace
} // namespace corvane
