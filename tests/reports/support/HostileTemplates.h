// Templates that once crashed the report generator, the seeds of its fuzz tests, and the small
// data set of the list of recognised stands they run over.
#pragma once

#include "reports/support/ListReport.h"

#include <QByteArray>
#include <QFile>

#include <vector>

namespace reports::test {

// A page foot whose variable has a font name of one tab (18 bytes, a CR between the lines).
inline const QByteArray blankFontTemplate("I,3,4,1\rP,5,,,,,,\t", 18);

// Coordinates at the ends of the 32-bit range: an element far right, one at the most negative
// left, one of the most negative width, a body of the largest height, and an element of no
// kind at the largest left (14 bytes).
inline std::vector<QByteArray> hugeCoordinateTemplates()
{
    return {
        QByteArray("T,1,0,10,0,2147483647,10,Arial CE,10,0,0,0,0,238,\"daleko\",0"),
        QByteArray("T,1,0,-2147483648,0,100,10,Arial CE,10,0,0,0,0,238,\"vlevo\",0"),
        QByteArray("T,1,0,10,0,-2147483648,10,Arial CE,10,0,0,0,0,238,\"zaporna\",0"),
        QByteArray("I,3,2,1,2147483647"),
        QByteArray("T,,,2147483647", 14),
    };
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The list's template, the golden template of every element kind and the inputs above.
inline std::vector<QByteArray> templateSeeds()
{
    std::vector<QByteArray> seeds = {
        fileBytes(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data/sevran.pts")),
        fileBytes(QStringLiteral(GENKLAS_GOLDEN_DIR "/reports/every_element.pts")),
        blankFontTemplate,
    };
    for (const QByteArray& bytes : hugeCoordinateTemplates()) seeds.push_back(bytes);
    return seeds;
}

// Columns of the list of recognised stands that the seeds name, and three rows of two units
// whose last one has a memo of three lines.
inline void fillListData(ListReport& report)
{
    report.SetColumns({"ODD", "DIL", "POR", "PSK", "ETAZ", "Stary_Kod", "Fenotyp", "DR_ZKR", "VEK", "PSK_P",
                       "ETAZ_PP", "Plocha", "LVS", "HS", "DR_ZAS_CEL", "DR_TO", "TO_PROC", "OBMYTI", "OBN_DOBA",
                       "LHC_KOD", "LHC_NAZEV", "Okres", "Okr_Nazev", "LES_OBL", "L_OBL_Naz", "POZN"});
    QList<QStringList> rows;
    for (int r = 0; r < 3; ++r) {
        QStringList row;
        for (int c = 0; c < 25; ++c) row << QString::number(r / 2 * 10 + c + 1);
        row << (r == 2 ? QStringLiteral("první\ndruhý\ntřetí") : QStringLiteral("poznámka"));
        rows << row;
    }
    report.rows = rows;
    report.types = QList<int>(25, ctString) << ctMemo;
}

} // namespace reports::test
