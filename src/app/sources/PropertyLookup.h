// Published properties by name for the loaders, looked up once per class and name.
#pragma once

#include "framework/core/Properties.h"

#include <array>
#include <cstdint>
#include <utility>

namespace app {

// Answers kept per pair of pointers (a class or table, and a name literal), two to a place: the
// loaders' millions of look-ups by a literal cost a compare or two. `find` answers a pair not kept.
template<class Key, class Value>
class PointerPairFront
{
public:
    template<class Find>
    Value get(Key key, const char* name, Find find)
    {
        Slot* const place = &m_slots[placeOf(key, name) * 2];
        if (place[0].key == key && place[0].name == name)
            return place[0].value;
        if (place[1].key == key && place[1].name == name) {
            std::swap(place[0], place[1]);   // the pair asked last comes first
            return place[0].value;
        }
        place[1] = place[0];
        place[0] = Slot{key, name, find()};
        return place[0].value;
    }
    void clear() { m_slots.fill(Slot{}); }

private:
    // Literals of one loader lie a few bytes apart and classes share their alignment: a
    // multiplicative mix spreads the pairs over the places.
    static size_t placeOf(Key key, const char* name)
    {
        const uint64_t mixed = uint64_t(reinterpret_cast<uintptr_t>(key)) * 0x9E3779B97F4A7C15ull
            ^ uint64_t(reinterpret_cast<uintptr_t>(name)) * 0xC2B2AE3D27D4EB4Full;
        return size_t(mixed >> (64 - placeBits));
    }
    static constexpr int placeBits = 10;

    struct Slot {
        Key key = nullptr;
        const char* name = nullptr;
        Value value{};
    };
    std::array<Slot, size_t(2) << placeBits> m_slots{};
};

// The property `name` of the object's class; raises EDatabaseError naming class and property
// when the class has none. Loaders pass string literals, so the answer is kept per class.
PPropInfo publishedProperty(TPersistent& object, const char* name);

// The property `name` of the object's class, or nullptr when the class has none; kept the same way.
PPropInfo findPublishedProperty(TPersistent& object, const char* name);

// The property of a name literal, as publishedProperty; a direct-mapped front remembers the
// answer by the class and the literal's address, so the loaders' per-row writes cost a compare.
PPropInfo literalProperty(TPersistent& object, const char* name);

// The property of a name literal, or nullptr when the class has none; remembered as literalProperty.
PPropInfo findLiteralProperty(TPersistent& object, const char* name);

// Writes a whole number into an ordinal, 64-bit or floating-point property; answers false,
// writing nothing, for a property of any other kind.
bool writeWholeNumber(TPersistent& object, PPropInfo property, qint32 value);

// The text of the property `name` (as GetPropByName gives it); empty when the class has none.
QString publishedText(TPersistent& object, const char* name);

// The text of the property of a name literal, as publishedText; looked up as findLiteralProperty.
QString literalText(TPersistent& object, const char* name);

// The leading whole number of literalText (LeadingInteger); an integer property's value is read
// as it stands, without its text.
qint32 literalWholeNumber(TPersistent& object, const char* name);

} // namespace app
