// The forest unit: its chosen data source, header and compartment-by-compartment loading.
#include "app/sources/LesniCelek.h"

#include "framework/core/ClassRegistry.h"

TClass TLesniCelek::StaticClass()
{
    using P = TLesniCelek;
    static const TClassInfo info = describeClass<P, TObecnyLesniPrvek>("TLesniCelek", [](PropertyTable<P>& t) {
        t.string("JakBylNacten", &P::JakBylNacten, &P::SetJakBylNacten)
            .string("adresarObecnychDatLHP", &P::adresarObecnychDatLHP, &P::SetadresarObecnychDatLHP)
            .string("AdresarStandardu", &P::AdresarStandardu, &P::SetAdresarStandardu);
    });
    return &info;
}

TLesniCelek::TLesniCelek() = default;
TLesniCelek::~TLesniCelek() = default;

void TLesniCelek::setSource(std::unique_ptr<app::Source> source)
{
    m_source = std::move(source);
    SetSourceKind(m_source ? m_source->kind() : SourceKinds::Undetermined);
}
