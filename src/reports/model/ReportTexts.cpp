// The report generator's string table.
#include "reports/model/ReportTexts.h"

#include <algorithm>

namespace reports {
namespace {

struct Entry { int id; const char* text; };

// Sorted by identifier; 65028-65039 are unused and 65040/65041 belong to the settings dialog.
constexpr Entry table[] = {
    {65024, "Executive"},
    {65025, "Obálka"},
    {65026, "Obálka otoč."},
    {65027, "Nastavení tisku"},
    {65042, "Opravdu smazat vybranou skupinu včetně případných vložených prvků sestavy?"},
    {65043, "Oprav"},
    {65044, "Ukaž"},
    {65045, "uživ. formát"},
    {65046, "Zrušit vybraný uživatelský formát?"},
    {65047, "Nastavené okraje tisku jsou menší, než umožňuje připojená tiskárna. "
            "Upravit velikost okrajů podle možností tiskárny?"},
    {65048, "Tisková sestava"},
    {65049, "Připravuji tisk položky číslo: "},
    {65050, "Odesílám data do tiskárny ..."},
    {65051, "uživ. formát"},
    {65052, "Uživat."},
    {65053, "Skládaný"},
    {65054, "Letter"},
    {65055, "Legal"},
    {65056, "změna zarovnávání"},
    {65057, "oprava funkce"},
    {65058, "přidání funkce"},
    {65059, "zrušení funkce"},
    {65060, "vystřižení do úschovy"},
    {65061, "vložení z úschovy"},
    {65062, "nastavení prvku"},
    {65063, "změna detailu"},
    {65064, "Datum tisku"},
    {65065, "Čas tisku"},
    {65066, "Číslo řádku"},
    {65067, "Číslo stránky"},
    {65068, "Počet stran"},
    {65069, "Číslo ř. ve sk."},
    {65070, "Číslo skupiny"},
    {65072, "V předloze sestavy byly provedeny změny. Uložit?"},
    {65073, "Potvrzení"},
    {65074, "Informace"},
    {65075, "Chyba"},
    {65076, "Detaily"},
    {65077, "Detail"},
    {65078, "Předlohou se nepodařilo uložit."},
    {65079, "Číslo řádku ve skupině"},
    {65080, "Pořadové číslo skupiny"},
    {65081, "vložení prvku"},
    {65082, "změna písma"},
    {65083, "zrušení prvku"},
    {65084, "nastavení oddílů a skupin"},
    {65085, "změna výšky oddílu"},
    {65086, "změna textu"},
    {65087, "posun prvku"},
    {65088, "Výraz je v pořádku."},
    {65089, "Nebyly vybrány žádné položky. Návrh nemůže být proveden!"},
    {65090, "Stránka číslo:"},
    {65091, "Nadpis sestavy"},
    {65092, "Datum:"},
    {65093, "Times New Roman CE"},
    {65094, "Oprava předlohy tiskové sestavy"},
    {65095, "Základní varianta"},
    {65096, "Zrušit"},
    {65097, "Zrušit změny"},
    {65098, "Znovu"},
    {65099, "Znovu změny"},
    {65100, "Smazat vybraný prvek?"},
    {65101, "Smazat všechny vybrané prvky?"},
    {65102, "Zrušit všechny prvky a začít s návrhem nové předlohy?"},
    {65103, "Smazat vybranou funkci?"},
    {65104, "Konec skupiny"},
    {65105, "Neznamý identifikátor"},
    {65106, "Syntaktická chyba"},
    {65107, "Přetečení zásobníku"},
    {65108, "Málo otevíracích závorek"},
    {65109, "Chybí uzavírací závorky"},
    {65110, "Numerická chyba"},
    {65111, "Chybný zápis čísla"},
    {65112, "Příliš mnoho proměnných"},
    {65113, "Chybný název proměnné"},
    {65114, "Očekávám čárku"},
    {65115, "Příliš mnoho čárek"},
    {65116, "Chybný zápis řetězce"},
    {65117, "Chybný zápis množiny"},
    {65118, "Ukončeno uživatelem"},
    {65119, "Chyba : \"%s\" na pozici %d"},
    {65120, "Položka"},
    {65121, "Skupina"},
    {65122, "Skupiny"},
    {65123, "Položka tabulky"},
    {65124, "Popis položky"},
    {65125, "Parametr"},
    {65126, "Proměnná"},
    {65127, "Funkce"},
    {65128, "Text"},
    {65129, "Úsečka"},
    {65130, "Rámeček"},
    {65131, "Zaoblený rámeček"},
    {65132, "Elipsa"},
    {65133, "Obrázek"},
    {65134, "Neznámý"},
    {65135, "Začátek skupiny"},
    {65137, "Není definován zdroj dat."},
    {65138, "Ke zdroji dat není připojena žádná tabulka."},
    {65139, "Připojená tabulka není aktivní. Zkusit otevřít?"},
    {65140, "Připojenou tabulku se nepodařilo otevřít."},
    {65141, "Není definována cesta a název souboru s předlohou."},
    {65142, "Soubor s předlohou se nepodařilo vytvořit. \"%s\""},
    {65143, "Nebyl nalezen soubor s předlohou tiskové sestavy \"%s\""},
    {65144, "Soubor s předlohou se nepodařilo uložit."},
    {65145, "Předlohy tiskových sestav (*.pts)|*.PTS"},
    {65146, "Výběr souboru"},
    {65147, "Function GetAliasPath error: %s"},
    {65148, "Neznámý alias: %s\rBude použito stand. nastavení"},
    {65149, "Nelze použít alias, protože není definován zdroj dat nebo není typu TDBDataSet"},
    {65150, "Nedostatek systémových prostředků"},
    {65151, "Není vybrána žádná předvolená tiskárna."},
};

constexpr bool isSorted()
{
    for (std::size_t i = 1; i < std::size(table); ++i) {
        if (table[i - 1].id >= table[i].id)
            return false;
    }
    return true;
}
static_assert(isSorted(), "string table must be sorted by identifier without duplicates");

} // namespace

QString reportText(int id)
{
    const auto it = std::lower_bound(std::begin(table), std::end(table), id,
                                     [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(table) || it->id != id)
        return {};
    return QString::fromUtf8(it->text);
}

} // namespace reports
