// The yield model: mean-tree volumes, full stock and table stock of a species by growth group.
#pragma once

#include <QString>

// Yield-table values of a species' mean tree of diameter d (cm) and height h (m):
//   V1 volume of the mean tree (m3), V2 the part of it that counts for the stock (m3),
//   S stock per hectare of a fully stocked stand of height h (m3/ha), T = S * V2 / V1.
// d < 6 or h < 6 give zeros; so do the growth groups without equations (13 and 14). V2 and T
// are never negative; in group 0 a table stock below 5 is 0.
void YieldTableModel(const QString& abbreviation, double d, double h, double& V1, double& V2, double& S, double& T);

// Basal area per hectare of the yield table (m2/ha): mean trees per hectare times the mean
// tree's basal area; 0 when V2 is at most 0.0001.
double YieldTableBasalArea(const QString& abbreviation, double d, double h);
