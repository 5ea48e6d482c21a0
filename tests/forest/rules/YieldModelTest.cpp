// Tests of the yield model against golden points computed independently of this code.
#include "forest/rules/YieldModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Golden {
    const char* species;
    double d;
    double h;
    double v1;
    double v2;
    double s;
    double t;
    double basalArea;
};

// Computed by a short Python script written from the published equations (not from this
// code), at least one point per growth group 0..12; printed with 10 significant digits:
//   {"SM", 30, 28, 0.9095346892, 0.9040030555, 622.6400193, 618.8532297, 48.38934989}, ...
// The spruce point is also the published reference: V1 0.90953, V2 0.90400, S 622.640,
// T 618.853 (619), basal area 48.389.
const Golden golden[] = {
    {"SM", 30, 28, 0.9095346892, 0.9040030555, 622.6400193, 618.8532297, 48.38934989},
    {"SM", 30, 50, 1.753420312, 1.744119898, 1437.560159, 1429.935116, 57.95247905},   // S(45) + 38 * 5
    {"SM", 6, 6, 0.01057033249, 0.004220143005, 74.39351281, 29.70117194, 19.89932904},
    {"BO", 24, 22, 0.445456417, 0.4400876125, 367.5417077, 363.1119599, 37.32616807},
    {"MD", 28, 26, 0.7511636061, 0.7467060265, 500.9622655, 497.9894389, 41.06539961},
    {"JD", 36, 30, 1.483805583, 1.480429644, 729.0652389, 727.4064774, 50.01311529},
    {"DB", 32, 24, 0.9206212578, 0.9703172219, 356.1672806, 375.393511, 31.11447609},
    {"BK", 30, 27, 0.9027288436, 0.9429176596, 422.8616163, 441.6871007, 33.11105132},
    {"JS", 26, 24, 0.5521508817, 0.5863681939, 274.3235531, 291.3236431, 26.37798019},
    {"BR", 20, 20, 0.2548777123, 0.2522808437, 229.0091269, 226.6758252, 28.22737133},
    {"OL", 22, 21, 0.3529963613, 0.3475778195, 236.0197343, 232.3967994, 25.41633725},
    {"OL", 6, 6, 0.009221074805, 0, 25.57377529, 0, 0},   // V1 at most 0.011: V2 0
    {"OS", 18, 17, 0.200374405, 0.1940256806, 135.8686459, 131.5637419, 17.25486343},
    {"HB", 18, 16, 0.300976059, 0.3369733317, 163.6213576, 183.1907634, 13.83383417},
    {"AK", 20, 18, 0.2504246145, 0.2656958516, 174.4332001, 185.0703764, 21.88273698},
    {"DG", 40, 34, 2.058444794, 2.055204449, 753.2638364, 752.0780701, 45.98512708},
    {"BO", 30, 45, 1.373988525, 1.364910489, 914.22769, 908.1873254, 47.03306586},    // S(40) + 23 * 5
    {"DB", 30, 45, 1.535198548, 1.38989048, 855.946194, 774.9300359, 39.41068089},    // S(40) + 23 * 5
    {"BK", 30, 45, 1.543497077, 1.511958044, 957.4142471, 937.8509321, 43.84560816},  // S(40) + 32 * 5
};

class YieldGolden : public ::testing::TestWithParam<Golden>
{
};

TEST_P(YieldGolden, MatchesTheIndependentComputation)
{
    const Golden& g = GetParam();
    double v1 = -1;
    double v2 = -1;
    double s = -1;
    double t = -1;
    YieldTableModel(g.species, g.d, g.h, v1, v2, s, t);
    EXPECT_NEAR(v1, g.v1, 1e-9 * std::max(1.0, g.v1));
    EXPECT_NEAR(v2, g.v2, 1e-9 * std::max(1.0, g.v2));
    EXPECT_NEAR(s, g.s, 1e-6);
    EXPECT_NEAR(t, g.t, 1e-6);
    EXPECT_NEAR(YieldTableBasalArea(g.species, g.d, g.h), g.basalArea, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(YieldModel, YieldGolden, ::testing::ValuesIn(golden), [](const auto& info) {
    const Golden& g = info.param;
    return std::string(g.species) + "_" + std::to_string(int(g.d)) + "_" + std::to_string(int(g.h));
});

TEST(YieldModel, SmallTreesGiveZeros)
{
    for (const auto& [d, h] : {std::pair{5.9, 28.0}, std::pair{30.0, 5.0}}) {
        double v1 = -1;
        double v2 = -1;
        double s = -1;
        double t = -1;
        YieldTableModel("SM", d, h, v1, v2, s, t);
        EXPECT_EQ(v1, 0);
        EXPECT_EQ(v2, 0);
        EXPECT_EQ(s, 0);
        EXPECT_EQ(t, 0);
        EXPECT_EQ(YieldTableBasalArea("SM", d, h), 0);
    }
}

TEST(YieldModel, GroupsWithoutEquationsGiveZeros)
{
    for (const char* species : {"KOS", "TS", "KR", "XYZ", ""}) {
        double v1 = -1;
        double v2 = -1;
        double s = -1;
        double t = -1;
        YieldTableModel(species, 30, 28, v1, v2, s, t);
        EXPECT_EQ(v1, 0) << species;
        EXPECT_EQ(t, 0) << species;
        EXPECT_EQ(s, 0) << species;
        EXPECT_EQ(YieldTableBasalArea(species, 30, 28), 0) << species;
    }
}

TEST(YieldModel, HornbeamUsesLocustEquationsWithFourThirdsOfTheDiameter)
{
    double hb[4];
    double ak[4];
    YieldTableModel("HB", 18, 16, hb[0], hb[1], hb[2], hb[3]);
    YieldTableModel("AK", 24, 16, ak[0], ak[1], ak[2], ak[3]);
    EXPECT_DOUBLE_EQ(hb[0], ak[0]);
    EXPECT_DOUBLE_EQ(hb[1], ak[1]);
    EXPECT_NE(hb[2], ak[2]);   // its own stock polynomial
}

} // namespace
