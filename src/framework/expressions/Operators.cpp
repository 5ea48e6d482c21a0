// Expression operators: the arity classes, constants, property reads, conditions and the operator catalogue.
#include "framework/expressions/Operators.h"

#include "framework/core/TextRoutines.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr size_t slot(TType kind)
{
    return static_cast<size_t>(kind);
}

bool isNumeric(TType kind)
{
    return kind == TType::_Byte || kind == TType::_Float || kind == TType::_Integer;
}

bool isIntegral(TType kind)
{
    return kind == TType::_Byte || kind == TType::_Integer;
}

bool isText(TType kind)
{
    return kind == TType::_Char || kind == TType::_String;
}

bool mayBe(const TTypeFlags& flags, TType kind)
{
    return flags[slot(kind)];
}

bool mayBeNumeric(const TTypeFlags& flags)
{
    return mayBe(flags, TType::_Byte) || mayBe(flags, TType::_Float) || mayBe(flags, TType::_Integer);
}

bool mayBeIntegral(const TTypeFlags& flags)
{
    return mayBe(flags, TType::_Byte) || mayBe(flags, TType::_Integer);
}

// --- fresh result values ---------------------------------------------------------------------

template<class E, class V>
Owned<TTypeElement> valueOf(V value)
{
    return Owned<TTypeElement>(E::CreateValue(value).release());
}

Owned<TTypeElement> booleanValue(bool value)
{
    return valueOf<TBooleanElement>(value);
}

Owned<TTypeElement> integerValue(qint32 value)
{
    return valueOf<TIntegerElement>(value);
}

Owned<TTypeElement> byteValue(quint8 value)
{
    return valueOf<TByteElement>(value);
}

// Infinite and NaN results raise EOverflow and EInvalidOp, as the FPU did.
Owned<TTypeElement> floatValue(double value)
{
    return valueOf<TFloatElement>(txt::checkFloat(value));
}

Owned<TTypeElement> stringValue(const QString& value)
{
    return valueOf<TStringElement>(value);
}

Owned<TTypeElement> charValue(QChar value)
{
    return valueOf<TCharElement>(value);
}

[[noreturn]] void rangeError()
{
    throw ERangeError(QStringLiteral("Range check error"));
}

// Whole numbers as far as 32 bits reach; ERangeError beyond (also beyond 64 bits).
bool fitsInt32(double whole)
{
    return whole >= std::numeric_limits<qint32>::min() && whole <= std::numeric_limits<qint32>::max();
}

qint32 roundToInt32(double value)
{
    if (!(std::fabs(value) < 4294967296.0))
        rangeError();
    return txt::roundHalfEven(value);
}

qint32 truncToInt32(double value)
{
    const double whole = std::trunc(value);
    if (!fitsInt32(whole))
        rangeError();
    return static_cast<qint32>(whole);
}

// Byte-wise order of the windows-1250 texts; a proper prefix is smaller.
int compareOrdinal(const QString& left, const QString& right)
{
    const QByteArray a = Cp1250::encode(left);
    const QByteArray b = Cp1250::encode(right);
    const auto less = [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less))
        return -1;
    return a == b ? 0 : 1;
}

// Clears a node's operand values when the evaluation ends, also when it ends by an error.
class OperandValuesReleaser
{
public:
    explicit OperandValuesReleaser(TOperator& node) : m_node(node) {}
    ~OperandValuesReleaser() { m_node.ClearOperandValues(); }
    OperandValuesReleaser(const OperandValuesReleaser&) = delete;
    OperandValuesReleaser& operator=(const OperandValuesReleaser&) = delete;

private:
    TOperator& m_node;
};

} // namespace

// --- TShortList --------------------------------------------------------------------------------

TClass TShortList::StaticClass()
{
    static const TClassInfo info = describeClass<TShortList, TOwnerElement>("TShortList");
    return &info;
}

TPersistent* TShortList::Get(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_list[static_cast<size_t>(index)].get();
}

void TShortList::Put(int index, TPersistent* object)
{
    if (index < 0)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    while (Count() < index + 1)
        m_list.emplace_back(object);
    m_list[static_cast<size_t>(index)] = object;
}

// --- TOperator ---------------------------------------------------------------------------------

TClass TOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TOperator, TTechnology>("TOperator");
    return &info;
}

TTypeElement* TOperator::Value() const
{
    return dynamic_cast<TTypeElement*>(Output());
}

// --- TNoPtrOperator ----------------------------------------------------------------------------

TClass TNoPtrOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TNoPtrOperator, TOperator>("TNoPtrOperator");
    return &info;
}

void TNoPtrOperator::SetVariables(TShortList* list)
{
    // Node by node in preorder (the node, operand 1's subtree, operand 2's): the order in which
    // BeforeDestruction gives the list up again.
    std::vector<TOperator*> pending{this};
    while (!pending.empty()) {
        TOperator* node = pending.back();
        pending.pop_back();
        auto* own = dynamic_cast<TNoPtrOperator*>(node);
        if (!own) {
            node->SetVariables(list);   // an operator of another kind passes it on itself
            continue;
        }
        own->takeVariables(list);
        for (TOperator* operand : {own->GetOperand2(), own->GetOperand1()})
            if (operand)
                pending.push_back(operand);
    }
}

void TNoPtrOperator::takeVariables(TShortList* list)
{
    TShortList* old = m_variables.get();
    if (old == list)
        return;
    m_variables.reset();
    RemoveAndFree(old);   // the other nodes still hold a shared list
    m_variables = list;
    Add(list);
}

// The shared list has one owner per node, listed in the order SetVariables reached them: the node,
// then operand 1's subtree, then operand 2's. A node being freed lets go of the list first and then
// frees operand 1's subtree and operand 2's, so the tree leaves the owner list in that same order,
// each node found at its front. In any other order every release searched the whole list: minutes
// to free the tree of a long condition. The subtrees are taken apart here, node by node, so that
// freeing a long chain nests no call per operand.
void TNoPtrOperator::BeforeDestruction()
{
    std::vector<Owned<TOperator>> pending;
    dismantle(pending);
    while (!pending.empty()) {
        Owned<TOperator> node = std::move(pending.back());
        pending.pop_back();
        if (auto* own = dynamic_cast<TNoPtrOperator*>(node.get()))
            own->dismantle(pending);
    }
    TOperator::BeforeDestruction();
}

void TNoPtrOperator::dismantle(std::vector<Owned<TOperator>>& operands)
{
    TShortList* list = m_variables.get();
    m_variables.reset();
    RemoveAndFree(list);
    takeOperands(operands);
}

TShortList* TNoPtrOperator::GetVariables()
{
    if (TShortList* list = m_variables.get())
        return list;
    TShortList* list = Create<TShortList>().release();
    m_variables = list;
    Add(list);
    return list;
}

bool TNoPtrOperator::GetTypeFlag(TType kind) const
{
    return m_typeFlags && (*m_typeFlags)[slot(kind)];
}

void TNoPtrOperator::SetTypeFlag(TType kind, bool flag)
{
    if (!m_typeFlags)
        m_typeFlags = std::make_unique<TTypeFlags>();
    (*m_typeFlags)[slot(kind)] = flag;
}

void TNoPtrOperator::SetTypeFlags(const TTypeFlags& flags)
{
    m_typeFlags = std::make_unique<TTypeFlags>(flags);
}

void TNoPtrOperator::SetVariable(int index, TPersistent* object)
{
    GetVariables()->Put(index, object);
}

TPersistent* TNoPtrOperator::GetVariable(int index)
{
    return GetVariables()->Get(index);
}

void TNoPtrOperator::ClearResult()
{
    TElement* output = Output();
    SetOutput(nullptr);
    if (output && output->OwnersCount() == 0 && output->HolderCount() == 0)
        FreeObject(output);
}

bool TNoPtrOperator::HasType()
{
    ComputeTypeFlags();
    const TTypeFlags flags = *m_typeFlags;
    FreeTypeFlags();
    return std::any_of(flags.begin(), flags.end(), [](bool f) { return f; });
}

// In postorder over an explicit stack: each node once its operands have their flags.
void TNoPtrOperator::ComputeTypeFlags()
{
    struct Step {
        TOperator* node;
        bool operandsDone;
    };
    std::vector<Step> pending{{this, false}};
    while (!pending.empty()) {
        const Step step = pending.back();
        auto* own = dynamic_cast<TNoPtrOperator*>(step.node);
        if (!own || step.operandsDone) {
            pending.pop_back();
            if (own)
                own->declareFromOperands();
            else
                step.node->ComputeTypeFlags();
            continue;
        }
        pending.back().operandsDone = true;
        for (TOperator* operand : {own->GetOperand2(), own->GetOperand1()})
            if (operand)
                pending.push_back({operand, false});
    }
}

void TNoPtrOperator::declareFromOperands()
{
    TTypeFlags operandFlags[2] = {};
    TOperator* operands[2] = {GetOperand1(), GetOperand2()};
    for (int i = 0; i < 2; ++i) {
        if (!operands[i])
            continue;
        if (const TTypeFlags* flags = operands[i]->GetTypeFlags())
            operandFlags[i] = *flags;
        operands[i]->FreeTypeFlags();
    }
    m_typeFlags = std::make_unique<TTypeFlags>();
    DeclareTypes(operandFlags[0], operandFlags[1]);
}

// --- TOnePtrOperator ---------------------------------------------------------------------------

TClass TOnePtrOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TOnePtrOperator, TNoPtrOperator>("TOnePtrOperator");
    return &info;
}

void TOnePtrOperator::replaceOperand(WeakRef<TOperator>& slot, TOperator* op)
{
    TOperator* old = slot.get();
    if (old == op)
        return;
    slot.reset();
    if (old)
        FreeTool(old);
    if (op) {
        AddTool(op);
        slot = op;
    }
}

void TOnePtrOperator::SetOperand1(TOperator* op)
{
    replaceOperand(m_operand1, op);
}

Owned<TOperator> TOnePtrOperator::takeOperand(WeakRef<TOperator>& slot)
{
    Owned<TOperator> op(slot.get());
    slot.reset();
    if (op)
        RemoveTool(op.get());
    return op;
}

void TOnePtrOperator::takeOperands(std::vector<Owned<TOperator>>& into)
{
    if (Owned<TOperator> op = takeOperand(m_operand1))
        into.push_back(std::move(op));
}

void TOnePtrOperator::ClearOperandValues()
{
    if (TOperator* op = GetOperand1())
        op->ClearResult();
    m_value1 = nullptr;
}

void TOnePtrOperator::EvaluateOperand1()
{
    m_value1 = nullptr;
    if (TOperator* op = GetOperand1()) {
        op->Execute();
        m_value1 = op->Value();
    }
}

void TOnePtrOperator::Execute()
{
    TTool::Execute();
    SetOutput(nullptr);
    const OperandValuesReleaser releaser(*this);
    EvaluateOperand1();
    if (const TTypeElement* value = GetValue1())
        SetOutput(Apply(*value).release());
}

Owned<TTypeElement> TOnePtrOperator::Apply(const TTypeElement&)
{
    return nullptr;
}

// --- TTwoPtrOperator ---------------------------------------------------------------------------

TClass TTwoPtrOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TTwoPtrOperator, TOnePtrOperator>("TTwoPtrOperator");
    return &info;
}

void TTwoPtrOperator::SetOperand2(TOperator* op)
{
    replaceOperand(m_operand2, op);
}

void TTwoPtrOperator::takeOperands(std::vector<Owned<TOperator>>& into)
{
    if (Owned<TOperator> op = takeOperand(m_operand2))
        into.push_back(std::move(op));
    TOnePtrOperator::takeOperands(into);
}

void TTwoPtrOperator::ClearOperandValues()
{
    TOnePtrOperator::ClearOperandValues();
    if (TOperator* op = GetOperand2())
        op->ClearResult();
    m_value2 = nullptr;
}

void TTwoPtrOperator::EvaluateOperand2()
{
    m_value2 = nullptr;
    TOperator* op = GetOperand2();
    if (op && GetValue1()) {
        op->Execute();
        m_value2 = op->Value();
    }
}

// The chain's nodes, from this one down operand 1, start as a recursive evaluation would start
// them; then from the innermost up each takes its value 1 from the node below, finishes and frees
// what its operands gave. An error leaves the nodes above without Output.
void TTwoPtrOperator::Execute()
{
    std::vector<TTwoPtrOperator*> chain{this};
    for (;;) {
        TTwoPtrOperator* node = chain.back();
        node->TTool::Execute();
        node->SetOutput(nullptr);
        auto* below = dynamic_cast<TTwoPtrOperator*>(node->GetOperand1());
        if (!below)
            break;
        chain.push_back(below);
    }
    for (size_t i = chain.size(); i-- > 0;) {
        TTwoPtrOperator& node = *chain[i];
        const OperandValuesReleaser releaser(node);
        if (i + 1 == chain.size())
            node.EvaluateOperand1();
        else
            node.SetValue1(chain[i + 1]->Value());
        node.ExecuteOnValue1();
    }
}

void TTwoPtrOperator::ExecuteOnValue1()
{
    EvaluateOperand2();
    const TTypeElement* left = GetValue1();
    const TTypeElement* right = GetValue2();
    if (left && right)
        SetOutput(Combine(*left, *right).release());
}

Owned<TTypeElement> TTwoPtrOperator::Combine(const TTypeElement&, const TTypeElement&)
{
    return nullptr;
}

// --- TConstOperator ----------------------------------------------------------------------------

TClass TConstOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TConstOperator, TNoPtrOperator>("TConstOperator");
    return &info;
}

void TConstOperator::SetConstant(TTypeElement* value)
{
    TTypeElement* old = m_constant.get();
    if (old == value)
        return;
    m_constant.reset();
    RemoveAndFree(old);
    m_constant = value;
    Add(value);
}

void TConstOperator::Execute()
{
    TTool::Execute();
    SetOutput(m_constant.get());
}

void TConstOperator::DeclareTypes(const TTypeFlags&, const TTypeFlags&)
{
    if (const TTypeElement* value = m_constant.get())
        SetTypeFlag(value->Typ(), true);
}

// --- TReadPropOperator -------------------------------------------------------------------------

TClass TReadPropOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TReadPropOperator, TOnePtrOperator>("TReadPropOperator");
    return &info;
}

void TReadPropOperator::AfterConstruction()
{
    TOnePtrOperator::AfterConstruction();
    auto exists = Create<TPropExistsOperator>();
    exists->SetOperand1(Create<TConstOperator>().release());
    SetOperand1(exists.release());
    SetPropertyName(QString());
}

void TReadPropOperator::SetPropertyName(const QString& name)
{
    m_propertyName = name;
    auto* exists = dynamic_cast<TPropExistsOperator*>(GetOperand1());
    if (!exists)
        return;
    if (auto* holder = dynamic_cast<TConstOperator*>(exists->GetOperand1()))
        holder->SetConstant(TStringElement::CreateValue(name).release());
}

void TReadPropOperator::Execute()
{
    TTool::Execute();
    SetOutput(nullptr);
    const OperandValuesReleaser releaser(*this);
    EvaluateOperand1();
    TPersistent* element = CurrentElement();
    if (!element)
        return;
    const TTypeElement* published = GetValue1();
    if (published && published->Typ() == TType::_Boolean && published->GetAsBoolean())
        SetOutput(readPublished(*element).release());
    else
        SetOutput(readAsText(*element).release());
}

// A published property by its declared type; no value for the types that have none here.
Owned<TTypeElement> TReadPropOperator::readPublished(TPersistent& element) const
{
    const int index = IndexOfProp(&element, m_propertyName);
    if (index < 0)
        return nullptr;
    const PPropInfo prop = element.ClassType()->Prop(index);
    if (!prop->HasRead())
        return nullptr;
    const QString typeName = txt::upperAscii(prop->TypeName());
    switch (prop->Kind) {
    case tkInteger: {
        const qint32 ordinal = prop->Read(element).Ordinal;
        return typeName == QLatin1String("BYTE") ? byteValue(static_cast<quint8>(ordinal)) : integerValue(ordinal);
    }
    case tkChar:
        return charValue(charFromOrdinal(prop->Read(element).Ordinal));
    case tkEnumeration:
        if (typeName != QLatin1String("BOOLEAN"))
            return nullptr;
        return booleanValue(prop->Read(element).Ordinal != 0);
    case tkFloat:
        // What the property holds, infinities and NaN included: reading computes nothing.
        return valueOf<TFloatElement>(prop->Read(element).Float);
    case tkString:
    case tkLString:
        return stringValue(prop->Read(element).Text);
    default:
        return nullptr;
    }
}

// Any other name: the element's text for it. A number text becomes an Integer when it is whole
// and fits in 32 bits, else a Float (a larger whole number is no error); other texts are Strings.
Owned<TTypeElement> TReadPropOperator::readAsText(TPersistent& element) const
{
    auto* asElement = dynamic_cast<TElement*>(&element);
    const QString text =
        asElement ? asElement->GetPropAsString(m_propertyName) : GetPropByName(&element, m_propertyName);
    if (text.isEmpty())
        return nullptr;
    if (!TryTextToFloat(text))
        return stringValue(text);
    const double value = TextToFloatDef(text);
    if (!std::isfinite(value))
        return stringValue(text);
    if (std::trunc(value) == value && fitsInt32(value))
        return integerValue(static_cast<qint32>(value));
    return floatValue(value);
}

void TReadPropOperator::DeclareTypes(const TTypeFlags&, const TTypeFlags&)
{
    SetTypeFlags(TTypeFlags{true, true, true, true, true, true, true, true});
}

// --- TCondition --------------------------------------------------------------------------------

TClass TCondition::StaticClass()
{
    static const TClassInfo info = describeClass<TCondition, TOnePtrOperator>("TCondition");
    return &info;
}

bool TCondition::EvaluateBoolean()
{
    const OperandValuesReleaser releaser(*this);
    EvaluateOperand1();
    const TTypeElement* value = GetValue1();
    return value && value->Typ() == TType::_Boolean && value->GetAsBoolean();
}

void TCondition::Execute()
{
    TTool::Execute();
    SetOutput(nullptr);
    const bool result = EvaluateBoolean();
    SetOutput(booleanValue(result).release());
}

void TCondition::DeclareTypes(const TTypeFlags&, const TTypeFlags&)
{
    SetTypeFlag(TType::_Boolean, true);
}

// --- comparisons -------------------------------------------------------------------------------

TClass TCompareOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TCompareOperator, TTwoPtrOperator>("TCompareOperator");
    return &info;
}

namespace {

using Relation = TCompareOperator::Relation;

template<class T>
bool holds(T left, T right, Relation relation)
{
    switch (relation) {
    case Relation::Greater: return left > right;
    case Relation::Less: return left < right;
    case Relation::Equal: return left == right;
    }
    return false;
}

} // namespace

Owned<TTypeElement> TCompareOperator::Compare(const TTypeElement& left, const TTypeElement& right,
                                              Relation relation)
{
    const TType kind = left.Typ();
    if (kind != right.Typ() && !(isNumeric(kind) && isNumeric(right.Typ())))
        return nullptr;
    switch (kind) {
    case TType::_Boolean:
        if (relation != Relation::Equal)
            return nullptr;
        return booleanValue(left.GetAsBoolean() == right.GetAsBoolean());
    case TType::_Char:
        return booleanValue(holds(charOrdinal(left.GetAsChar()) & 0xFF, charOrdinal(right.GetAsChar()) & 0xFF, relation));
    case TType::_String:
        return booleanValue(holds(compareOrdinal(left.GetAsString(), right.GetAsString()), 0, relation));
    case TType::_Byte:
    case TType::_Integer:
    case TType::_Float: {
        const double a = left.GetAsFloat();
        const double b = right.GetAsFloat();
        if (std::isnan(a) || std::isnan(b))
            return nullptr;
        if (relation == Relation::Equal)
            return booleanValue(std::isinf(a) || std::isinf(b) ? a == b : std::fabs(a - b) < 1e-13);
        return booleanValue(holds(a, b, relation));
    }
    case TType::_Pointer:
        return booleanValue(holds(left.GetAsInteger(), right.GetAsInteger(), relation));
    default:
        return nullptr;
    }
}

void TCompareOperator::DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    const auto both = [&](TType kind) { return mayBe(operand1, kind) && mayBe(operand2, kind); };
    SetTypeFlag(TType::_Boolean, (mayBeNumeric(operand1) && mayBeNumeric(operand2)) || both(TType::_Char)
                                     || both(TType::_Pointer) || both(TType::_String));
}

// --- the operator catalogue: kinds -------------------------------------------------------------

namespace {

bool isOneOf(TType kind, std::initializer_list<TType> kinds)
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

bool mayBeOneOf(const TTypeFlags& flags, std::initializer_list<TType> kinds)
{
    return std::any_of(kinds.begin(), kinds.end(), [&](TType kind) { return mayBe(flags, kind); });
}

// Both numeric and at least one of them a Float.
bool isFloatPair(TType left, TType right)
{
    return isNumeric(left) && isNumeric(right) && (left == TType::_Float || right == TType::_Float);
}

bool mayBeFloatPair(const TTypeFlags& left, const TTypeFlags& right)
{
    return mayBeNumeric(left) && mayBeNumeric(right) && (mayBe(left, TType::_Float) || mayBe(right, TType::_Float));
}

bool isIntegralPair(const TTypeElement& left, const TTypeElement& right)
{
    return isIntegral(left.Typ()) && isIntegral(right.Typ());
}

constexpr std::initializer_list<TType> toBooleanKinds = {TType::_Boolean, TType::_Byte, TType::_Integer};
constexpr std::initializer_list<TType> toCharKinds = {TType::_Char, TType::_Byte};
constexpr std::initializer_list<TType> toByteKinds = {TType::_Boolean, TType::_Char, TType::_Byte, TType::_Integer};
constexpr std::initializer_list<TType> toIntegerKinds = {TType::_Char, TType::_Byte, TType::_Float, TType::_Integer};
constexpr std::initializer_list<TType> toStringKinds = {TType::_Boolean, TType::_Char,   TType::_Byte,
                                                        TType::_Float,   TType::_String, TType::_Integer};
constexpr std::initializer_list<TType> textKinds = {TType::_Char, TType::_String};

// --- result kinds ---

void yieldsBoolean(TOperator& node, const TTypeFlags&)
{
    node.SetTypeFlag(TType::_Boolean, true);
}

void floatOfNumeric(TOperator& node, const TTypeFlags& operand1)
{
    node.SetTypeFlag(TType::_Float, mayBeNumeric(operand1));
}

// ROUND, TRUNC: Byte for a Byte, else Integer.
void wholeOfNumeric(TOperator& node, const TTypeFlags& operand1)
{
    node.SetTypeFlag(TType::_Byte, mayBe(operand1, TType::_Byte));
    node.SetTypeFlag(TType::_Integer, mayBe(operand1, TType::_Integer) || mayBe(operand1, TType::_Float));
}

template<TType result, const std::initializer_list<TType>& from>
void conversion(TOperator& node, const TTypeFlags& operand1)
{
    node.SetTypeFlag(result, mayBeOneOf(operand1, from));
}

void integerOfIntegrals(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    node.SetTypeFlag(TType::_Integer, mayBeIntegral(operand1) && mayBeIntegral(operand2));
}

void floatOfNumerics(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    node.SetTypeFlag(TType::_Float, mayBeNumeric(operand1) && mayBeNumeric(operand2));
}

// +, -: Integer for integrals, Float when a Float takes part.
void sumKinds(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    integerOfIntegrals(node, operand1, operand2);
    node.SetTypeFlag(TType::_Float, mayBeFloatPair(operand1, operand2));
}

// --- element tests ---

// The tested element: the current one, read before the argument is looked at.
TPersistent* testedElement(TNoPtrOperator& node, const TTypeElement& value)
{
    TPersistent* element = node.CurrentElement();
    return value.Typ() == TType::_String ? element : nullptr;
}

Owned<TTypeElement> classIs(TNoPtrOperator& node, const TTypeElement& value)
{
    TPersistent* element = testedElement(node, value);
    if (!element)
        return nullptr;
    return booleanValue(txt::upperAscii(element->ClassName()) == txt::upperAscii(value.GetAsString()));
}

Owned<TTypeElement> isAncestor(TNoPtrOperator& node, const TTypeElement& value)
{
    TPersistent* element = testedElement(node, value);
    if (!element)
        return nullptr;
    const QString name = txt::upperAscii(value.GetAsString());
    for (TClass cls = element->ClassType(); cls; cls = cls->ClassParent())
        if (txt::upperAscii(cls->ClassName()) == name)
            return booleanValue(true);
    return booleanValue(false);
}

Owned<TTypeElement> propExists(TNoPtrOperator& node, const TTypeElement& value)
{
    TPersistent* element = testedElement(node, value);
    if (!element)
        return nullptr;
    const QString name = value.GetAsString();
    return booleanValue(!name.isEmpty() && IndexOfProp(element, name) > -1);
}

// --- numeric functions ---

Owned<TTypeElement> absolute(TNoPtrOperator&, const TTypeElement& value)
{
    switch (value.Typ()) {
    case TType::_Byte:
        return byteValue(value.GetAsByte());
    case TType::_Integer: {
        const qint32 v = value.GetAsInteger();
        return integerValue(v < 0 ? txt::negChecked(v) : v);
    }
    case TType::_Float:
        return floatValue(std::fabs(value.GetAsFloat()));
    default:
        return nullptr;
    }
}

void absoluteKinds(TOperator& node, const TTypeFlags& operand1)
{
    for (TType kind : {TType::_Byte, TType::_Integer, TType::_Float})
        node.SetTypeFlag(kind, mayBe(operand1, kind));
}

template<qint32 (*toWhole)(double)>
Owned<TTypeElement> whole(TNoPtrOperator&, const TTypeElement& value)
{
    if (value.Typ() == TType::_Byte)
        return byteValue(value.GetAsByte());
    if (!isNumeric(value.Typ()))
        return nullptr;
    return integerValue(toWhole(value.GetAsFloat()));
}

// A Float function of a numeric value; no value for other kinds or outside f's domain.
template<std::optional<double> (*f)(double)>
Owned<TTypeElement> floatFunction(TNoPtrOperator&, const TTypeElement& value)
{
    if (!isNumeric(value.Typ()))
        return nullptr;
    const std::optional<double> result = f(value.GetAsFloat());
    return result ? floatValue(*result) : nullptr;
}

std::optional<double> cosine(double x) { return std::cos(x); }
std::optional<double> sine(double x) { return std::sin(x); }
std::optional<double> arcTangent(double x) { return std::atan(x); }
std::optional<double> exponential(double x) { return std::exp(x); }
std::optional<double> fraction(double x) { return x - std::trunc(x); }
std::optional<double> square(double x) { return x * x; }

std::optional<double> naturalLog(double x)
{
    return x > 0 ? std::optional<double>(std::log(x)) : std::nullopt;
}

std::optional<double> squareRoot(double x)
{
    return x >= 0 ? std::optional<double>(std::sqrt(x)) : std::nullopt;
}

Owned<TTypeElement> odd(TNoPtrOperator&, const TTypeElement& value)
{
    if (!isIntegral(value.Typ()))
        return nullptr;
    return booleanValue((value.GetAsInteger() & 1) != 0);
}

void oddKinds(TOperator& node, const TTypeFlags& operand1)
{
    node.SetTypeFlag(TType::_Boolean, mayBeIntegral(operand1));
}

Owned<TTypeElement> negative(TNoPtrOperator&, const TTypeElement& value)
{
    if (isIntegral(value.Typ()))
        return integerValue(txt::negChecked(value.GetAsInteger()));
    if (value.Typ() == TType::_Float)
        return floatValue(-value.GetAsFloat());
    return nullptr;
}

void negativeKinds(TOperator& node, const TTypeFlags& operand1)
{
    node.SetTypeFlag(TType::_Integer, mayBeIntegral(operand1));
    node.SetTypeFlag(TType::_Float, mayBe(operand1, TType::_Float));
}

Owned<TTypeElement> negation(TNoPtrOperator&, const TTypeElement& value)
{
    if (value.Typ() != TType::_Boolean)
        return nullptr;
    return booleanValue(!value.GetAsBoolean());
}

void negationKinds(TOperator& node, const TTypeFlags& operand1)
{
    node.SetTypeFlag(TType::_Boolean, mayBe(operand1, TType::_Boolean));
}

// --- conversions ---

Owned<TTypeElement> toBoolean(TNoPtrOperator&, const TTypeElement& value)
{
    return isOneOf(value.Typ(), toBooleanKinds) ? booleanValue(value.GetAsBoolean()) : nullptr;
}

Owned<TTypeElement> toChar(TNoPtrOperator&, const TTypeElement& value)
{
    return isOneOf(value.Typ(), toCharKinds) ? charValue(value.GetAsChar()) : nullptr;
}

Owned<TTypeElement> toByte(TNoPtrOperator&, const TTypeElement& value)
{
    return isOneOf(value.Typ(), toByteKinds) ? byteValue(value.GetAsByte()) : nullptr;
}

Owned<TTypeElement> toFloat(TNoPtrOperator&, const TTypeElement& value)
{
    return isNumeric(value.Typ()) ? floatValue(value.GetAsFloat()) : nullptr;
}

Owned<TTypeElement> toString(TNoPtrOperator&, const TTypeElement& value)
{
    return isOneOf(value.Typ(), toStringKinds) ? stringValue(value.GetAsString()) : nullptr;
}

Owned<TTypeElement> toInteger(TNoPtrOperator&, const TTypeElement& value)
{
    return isOneOf(value.Typ(), toIntegerKinds) ? integerValue(value.GetAsInteger()) : nullptr;
}

// --- arithmetic ---

Owned<TTypeElement> plus(const TTypeElement& left, const TTypeElement& right)
{
    if (isIntegralPair(left, right))
        return integerValue(txt::addChecked(left.GetAsInteger(), right.GetAsInteger()));
    if (isFloatPair(left.Typ(), right.Typ()))
        return floatValue(left.GetAsFloat() + right.GetAsFloat());
    if (isText(left.Typ()) && isText(right.Typ()))
        return stringValue(left.GetAsString() + right.GetAsString());
    return nullptr;
}

void plusKinds(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    sumKinds(node, operand1, operand2);
    node.SetTypeFlag(TType::_String, mayBeOneOf(operand1, textKinds) && mayBeOneOf(operand2, textKinds));
}

Owned<TTypeElement> minus(const TTypeElement& left, const TTypeElement& right)
{
    if (isIntegralPair(left, right))
        return integerValue(txt::subChecked(left.GetAsInteger(), right.GetAsInteger()));
    if (isFloatPair(left.Typ(), right.Typ()))
        return floatValue(left.GetAsFloat() - right.GetAsFloat());
    return nullptr;
}

Owned<TTypeElement> times(const TTypeElement& left, const TTypeElement& right)
{
    if (!isNumeric(left.Typ()) || !isNumeric(right.Typ()))
        return nullptr;
    const double product = left.GetAsFloat() * right.GetAsFloat();
    if (isIntegralPair(left, right) && std::fabs(product) <= 2147483647.0)
        return integerValue(static_cast<qint32>(product));
    return floatValue(product);
}

void timesKinds(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    floatOfNumerics(node, operand1, operand2);
    integerOfIntegrals(node, operand1, operand2);
}

Owned<TTypeElement> divided(const TTypeElement& left, const TTypeElement& right)
{
    if (!isNumeric(left.Typ()) || !isNumeric(right.Typ()))
        return nullptr;
    return floatValue(txt::divFloat(left.GetAsFloat(), right.GetAsFloat()));
}

// MOD and DIV: integral operands and a divisor other than 0.
bool hasIntegralQuotient(const TTypeElement& left, const TTypeElement& right)
{
    return isIntegralPair(left, right) && right.GetAsInteger() != 0;
}

Owned<TTypeElement> modulo(const TTypeElement& left, const TTypeElement& right)
{
    if (!hasIntegralQuotient(left, right))
        return nullptr;
    const qint32 dividend = left.GetAsInteger();
    const qint32 divisor = right.GetAsInteger();
    // -2147483648 MOD -1 overflows the machine division as DIV does.
    txt::divChecked(dividend, divisor);
    return integerValue(txt::modChecked(dividend, divisor));
}

Owned<TTypeElement> quotient(const TTypeElement& left, const TTypeElement& right)
{
    if (!hasIntegralQuotient(left, right))
        return nullptr;
    return integerValue(txt::divChecked(left.GetAsInteger(), right.GetAsInteger()));
}

template<TCompareOperator::Relation relation>
Owned<TTypeElement> comparison(const TTypeElement& left, const TTypeElement& right)
{
    return TCompareOperator::Compare(left, right, relation);
}

} // namespace

// --- the operator catalogue --------------------------------------------------------------------

const UnaryRule TClassIsOperator::rule{"TClassIsOperator", classIs, yieldsBoolean};
const UnaryRule TIsAncestorOperator::rule{"TIsAncestorOperator", isAncestor, yieldsBoolean};
const UnaryRule TPropExistsOperator::rule{"TPropExistsOperator", propExists, yieldsBoolean};
const UnaryRule TAbsValOperator::rule{"TAbsValOperator", absolute, absoluteKinds};
const UnaryRule TRoundOperator::rule{"TRoundOperator", whole<roundToInt32>, wholeOfNumeric};
const UnaryRule TTruncOperator::rule{"TTruncOperator", whole<truncToInt32>, wholeOfNumeric};
const UnaryRule TCosOperator::rule{"TCosOperator", floatFunction<cosine>, floatOfNumeric};
const UnaryRule TSinOperator::rule{"TSinOperator", floatFunction<sine>, floatOfNumeric};
const UnaryRule TArcTanOperator::rule{"TArcTanOperator", floatFunction<arcTangent>, floatOfNumeric};
const UnaryRule TExpOperator::rule{"TExpOperator", floatFunction<exponential>, floatOfNumeric};
const UnaryRule TFracOperator::rule{"TFracOperator", floatFunction<fraction>, floatOfNumeric};
const UnaryRule TLnOperator::rule{"TLnOperator", floatFunction<naturalLog>, floatOfNumeric};
const UnaryRule TOddOperator::rule{"TOddOperator", odd, oddKinds};
const UnaryRule TSqrOperator::rule{"TSqrOperator", floatFunction<square>, floatOfNumeric};
const UnaryRule TSqrtOperator::rule{"TSqrtOperator", floatFunction<squareRoot>, floatOfNumeric};
const UnaryRule TUnMinusOperator::rule{"TUnMinusOperator", negative, negativeKinds};
const UnaryRule TNotOperator::rule{"TNotOperator", negation, negationKinds};
const UnaryRule TNaBooleanOperator::rule{"TNaBooleanOperator", toBoolean, conversion<TType::_Boolean, toBooleanKinds>};
const UnaryRule TNaCharOperator::rule{"TNaCharOperator", toChar, conversion<TType::_Char, toCharKinds>};
const UnaryRule TNaByteOperator::rule{"TNaByteOperator", toByte, conversion<TType::_Byte, toByteKinds>};
const UnaryRule TNaFloatOperator::rule{"TNaFloatOperator", toFloat, floatOfNumeric};
const UnaryRule TNaStringOperator::rule{"TNaStringOperator", toString, conversion<TType::_String, toStringKinds>};
const UnaryRule TNaIntegerOperator::rule{"TNaIntegerOperator", toInteger, conversion<TType::_Integer, toIntegerKinds>};

const BinaryRule TPlusOperator::rule{"TPlusOperator", plus, plusKinds};
const BinaryRule TMinusOperator::rule{"TMinusOperator", minus, sumKinds};
const BinaryRule TKratOperator::rule{"TKratOperator", times, timesKinds};
const BinaryRule TDelenoOperator::rule{"TDelenoOperator", divided, floatOfNumerics};
const BinaryRule TModOperator::rule{"TModOperator", modulo, integerOfIntegrals};
const BinaryRule TDivOperator::rule{"TDivOperator", quotient, integerOfIntegrals};
const BinaryRule TVetsiOperator::rule{"TVetsiOperator", comparison<TCompareOperator::Relation::Greater>, nullptr};
const BinaryRule TMensiOperator::rule{"TMensiOperator", comparison<TCompareOperator::Relation::Less>, nullptr};
const BinaryRule TRovnoOperator::rule{"TRovnoOperator", comparison<TCompareOperator::Relation::Equal>, nullptr};

// --- logical operators -------------------------------------------------------------------------

namespace {

bool isBoolean(const TTypeElement* value)
{
    return value && value->Typ() == TType::_Boolean;
}

// AND and OR, value 1 set: operand 1 equal to `decisive` is the answer without evaluating
// operand 2.
void shortCircuit(TTwoPtrOperator& node, bool decisive)
{
    const TTypeElement* left = node.GetValue1();
    if (!isBoolean(left))
        return;
    if (left->GetAsBoolean() == decisive) {
        node.SetOutput(booleanValue(decisive).release());
        return;
    }
    node.EvaluateOperand2();
    if (const TTypeElement* right = node.GetValue2(); isBoolean(right))
        node.SetOutput(booleanValue(right->GetAsBoolean()).release());
}

void bothBoolean(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    node.SetTypeFlag(TType::_Boolean, mayBe(operand1, TType::_Boolean) && mayBe(operand2, TType::_Boolean));
}

} // namespace

TClass TAndOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TAndOperator, TTwoPtrOperator>("TAndOperator");
    return &info;
}

void TAndOperator::ExecuteOnValue1()
{
    shortCircuit(*this, false);
}

void TAndOperator::DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    bothBoolean(*this, operand1, operand2);
}

TClass TOrOperator::StaticClass()
{
    static const TClassInfo info = describeClass<TOrOperator, TTwoPtrOperator>("TOrOperator");
    return &info;
}

void TOrOperator::ExecuteOnValue1()
{
    shortCircuit(*this, true);
}

void TOrOperator::DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2)
{
    bothBoolean(*this, operand1, operand2);
}
