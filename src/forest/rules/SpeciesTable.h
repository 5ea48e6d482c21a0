// The species table: 82 abbreviations with growth groups, site-class constants and conversions.
#pragma once

#include <QString>

#include <array>

// One entry of the species table: a three-character abbreviation (two-letter ones with a
// trailing blank, "SM " for spruce) and its growth group 0..13.
struct SpeciesEntry {
    char abbreviation[4];
    quint8 group;
};

constexpr int speciesCount = 82;
// Growth group of an abbreviation missing from the table.
constexpr quint8 unknownGrowthGroup = 14;

// The entries in stored order; position p (1..82) is index p - 1.
const std::array<SpeciesEntry, speciesCount>& SpeciesTable();
// The three-character abbreviation at a position 1..82 (the caller checks the range).
QString SpeciesAbbreviationAt(int position);

// Growth group 0..13 of the first entry equal to the first three characters, ASCII upper-cased,
// a two-character key padded with a blank; 14 when none (short keys and other blanks included).
quint8 SpeciesGrowthGroup(const QString& abbreviation);
// Growth group 0, 1, 2, 3 or 12.
bool IsConiferous(const QString& abbreviation);
// Relative site class 1..9 (not rounded) of an absolute site class: (K - absolute) / 2, clamped.
// 0 for the groups 13 and 14, which have no constant K.
double SiteClassFromHeight(double absoluteSiteClass, int group);
// Absolute site class of a relative one: K - 2 * relative, not clamped; 0 for groups 13 and 14.
double HeightFromSiteClass(double relativeSiteClass, int group);
// Relative site class 1..9 from the relative site-class table by group (OS counts as group 7),
// age and absolute site class; 0 when the group has no row or the column lies outside 1..16.
int RelativeSiteClass(const QString& abbreviation, int age, int absoluteSiteClass);
