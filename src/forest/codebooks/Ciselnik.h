// The codebook container of a forest unit: codebook tables beside the program and their views.
#pragma once

#include "framework/core/Elements.h"

#include <QString>

#include <array>
#include <memory>

namespace db {
class Table;
}
class TDatabaseClass;

// The 37 codebooks of a forest unit, named as the container's table properties.
enum class Codebook : int {
    Tb_HS, Tb_LT, Tb_SLT, Tb_Ktg, Tb_PorKtg, tb_nal, tb_tvar, tb_HZ, tb_ZJZ, tb_ZVL_Stat,
    tb_Druh_vla, Tb_PaOh, tb_LeOb, tb_sdr_por, tb_Druh_poz, tb_Pot_vla, tb_TeTy, tb_LDU, tb_Kval_P,
    tb_Duv_tezb, tb_Druh_Zal, tb_Dan, tb_Majetky, tb_Katastry, tb_OLH, tb_genKl, tb_imise, Tb_puvod,
    tb_DrevCis, tb_posk, Tb_OrgUr1, Tb_OrgUr2, TB_Mel_Drev, TB_Cis_Bezl, TB_Cis_Jine, TB_Zp_TEZBY,
    TB_ODVOZ_TEZ,
};
constexpr int codebookCount = 37;

// Where a codebook comes from and how its view shows it.
struct CodebookInfo {
    const char* tableProperty;   // "Tb_HS"
    const char* fileName;        // file in "ciselnik" beside the program; nullptr: assigned from outside
    const char* viewProperty;    // "Tb_HSClass"
    const char* viewName;        // "HS"
    const char* keyField;        // the view's address and name field
};
const CodebookInfo& codebookInfo(Codebook codebook);
// The codebook whose table property has this name (ASCII case ignored); false when none.
bool codebookByName(const QString& tableProperty, Codebook& codebook);

// The codebook container (tciselnik) of one forest unit: for each codebook a table and a view
// of its rows as model elements (TDatabaseClass, a child of the container).
//
// File codebooks open read-only on their first read from "ciselnik" beside the program (names
// match in any letter case); a file that fails to open answers nil, silently, and is never tried
// again. The eight codebooks of the sibling inventory database are assigned from outside. An
// assigned table (file codebooks too) is answered as assigned and neither opened nor freed here;
// whoever assigns it keeps it alive as long as the container. Tables opened here live as long as
// the container. A view over a nil table is not created.
class tciselnik : public TOwnerEntity
{
public:
    tciselnik();
    ~tciselnik() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The table: for a file codebook opened on first read; nil when it cannot be.
    db::Table* Table(Codebook codebook);
    // Stores the reference (not owned); nil forgets it.
    void SetTable(Codebook codebook, db::Table* table);
    // LookupCodeName in the codebook's table (letter case ignored), its answers kept per code
    // while the table's rows stay the same.
    QString CodeName(Codebook codebook, const QString& keyField, const QString& code, const QString& resultField);
    // The view, created on first read from the table held now; nil while that table is nil.
    TDatabaseClass* View(Codebook codebook);

private:
    struct Slot;
    Slot& slot(Codebook codebook);
    // Opens the file codebook once; nil on failure.
    db::Table* openFile(Codebook codebook);

    std::array<std::unique_ptr<Slot>, codebookCount> m_slots;
};
