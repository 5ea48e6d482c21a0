// Expression operators: trees of operator tools that compute typed values from constants and element properties.
#pragma once

#include "framework/tools/Tools.h"
#include "framework/values/TypedValues.h"

#include <array>
#include <memory>
#include <type_traits>
#include <vector>

// A list of object references (not owned) shared by every node of an expression tree: the
// variables, variable 0 being the current element. A reference to an object freed since reads nil.
class TShortList : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Raises EListError when index is not below Count.
    TPersistent* Get(int index) const;
    // Appends while the list is shorter than index + 1, then sets the entry.
    void Put(int index, TPersistent* object);
    int Count() const { return static_cast<int>(m_list.size()); }

private:
    std::vector<WeakRef<TPersistent>> m_list;
};

// One flag per value kind (TType order): which kinds a node can yield.
using TTypeFlags = std::array<bool, 8>;

// An expression node. Execute leaves a fresh value element in Output (or nil: "no value") computed
// from the Outputs of the operands, which are the node's sub-tools. Values:
//   - every value is created afresh by its node's Execute, has no owner, and is freed by the
//     parent that used it (ClearOperandValues); a constant's Output is the constant itself;
//   - the root's Output is left to the caller, who releases it with ClearResult.
// Usage: build the tree, SetVariables once on the root with a new TShortList, then per
// evaluation SetVariable(0, element) and Execute.
//
// No value is raised for nothing: a missing or unsuitable operand value gives no value. Integer
// overflow (EIntOverflow), range errors (ERangeError) and floating errors (EZeroDivide, EOverflow,
// EInvalidOp) propagate out of Execute; the operand values are freed on the way.
class TOperator : public TTechnology
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // An operand replaced is freed with its subtree; nil leaves no operand.
    virtual void SetOperand1(TOperator* op) = 0;
    virtual TOperator* GetOperand1() const = 0;
    virtual void SetOperand2(TOperator* op) = 0;
    virtual TOperator* GetOperand2() const = 0;
    virtual void SetValue1(TTypeElement* value) = 0;
    virtual TTypeElement* GetValue1() const = 0;
    virtual void SetValue2(TTypeElement* value) = 0;
    virtual TTypeElement* GetValue2() const = 0;
    virtual void SetVariableIndex(int index) = 0;
    virtual int GetVariableIndex() const = 0;
    // ClearResult on the operands.
    virtual void ClearOperandValues() = 0;
    // The node and its operands share the list; each node holds it as a child.
    virtual void SetVariables(TShortList* list) = 0;
    // The list, created on first use.
    virtual TShortList* GetVariables() = 0;
    // False without a flag block (outside ComputeTypeFlags/FreeTypeFlags).
    virtual bool GetTypeFlag(TType kind) const = 0;
    virtual void SetTypeFlag(TType kind, bool flag) = 0;
    // nil outside ComputeTypeFlags/FreeTypeFlags.
    virtual const TTypeFlags* GetTypeFlags() const = 0;
    virtual void SetTypeFlags(const TTypeFlags& flags) = 0;
    virtual void SetVariable(int index, TPersistent* object) = 0;
    // Raises EListError when the list has no such entry.
    virtual TPersistent* GetVariable(int index) = 0;
    // Executes operand 1, value 1 := its Output (nil without operand 1).
    virtual void EvaluateOperand1() = 0;
    // Only when operand 2 exists and value 1 is set; otherwise value 2 := nil.
    virtual void EvaluateOperand2() = 0;
    // Frees an Output that no container holds; Output := nil.
    virtual void ClearResult() = 0;
    // Whether the node can yield any value at all (evaluates nothing).
    virtual bool HasType() = 0;
    // Sets the flags of the kinds that Execute can yield, from the operands' flags.
    virtual void ComputeTypeFlags() = 0;
    virtual void FreeTypeFlags() = 0;

    // The Output as a value element (nil for no value).
    TTypeElement* Value() const;
};

// Arity 0: variables, variable index and type flags.
class TNoPtrOperator : public TOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void SetOperand1(TOperator*) override {}
    TOperator* GetOperand1() const override { return nullptr; }
    void SetOperand2(TOperator*) override {}
    TOperator* GetOperand2() const override { return nullptr; }
    void SetValue1(TTypeElement*) override {}
    TTypeElement* GetValue1() const override { return nullptr; }
    void SetValue2(TTypeElement*) override {}
    TTypeElement* GetValue2() const override { return nullptr; }
    void SetVariableIndex(int index) override { m_variableIndex = index; }
    int GetVariableIndex() const override { return m_variableIndex; }
    void ClearOperandValues() override {}
    // The whole tree below the node takes the list, node by node (no call per level).
    void SetVariables(TShortList* list) override;
    TShortList* GetVariables() override;
    bool GetTypeFlag(TType kind) const override;
    void SetTypeFlag(TType kind, bool flag) override;
    const TTypeFlags* GetTypeFlags() const override { return m_typeFlags.get(); }
    void SetTypeFlags(const TTypeFlags& flags) override;
    void SetVariable(int index, TPersistent* object) override;
    TPersistent* GetVariable(int index) override;
    void EvaluateOperand1() override {}
    void EvaluateOperand2() override {}
    void ClearResult() override;
    bool HasType() override;
    // Computes the operands' flags first, walking the tree without a call per level.
    void ComputeTypeFlags() override;
    void FreeTypeFlags() override { m_typeFlags.reset(); }
    // The current element: the variable at the node's index.
    TPersistent* CurrentElement() { return GetVariable(GetVariableIndex()); }
    void BeforeDestruction() override;

protected:
    // The flags of this node's own kinds, given its operands' flags (computed before).
    virtual void DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2) = 0;
    // Takes the operands out of the node without freeing them, operand 2 first.
    virtual void takeOperands(std::vector<Owned<TOperator>>&) {}

private:
    void takeVariables(TShortList* list);
    // This node's flags from its operands' flags, computed before; the operands' blocks are freed.
    void declareFromOperands();
    // Gives the shared list up and takes the operands out, for freeing them one at a time.
    void dismantle(std::vector<Owned<TOperator>>& operands);

    std::unique_ptr<TTypeFlags> m_typeFlags;   // present only between Compute- and FreeTypeFlags
    WeakRef<TShortList> m_variables;           // also a child of this node
    int m_variableIndex = 0;
};

// Arity 1. Execute: operand 1, then Apply over its value when there is one.
class TOnePtrOperator : public TNoPtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void SetOperand1(TOperator* op) override;
    TOperator* GetOperand1() const override { return m_operand1.get(); }
    void SetValue1(TTypeElement* value) override { m_value1 = value; }
    TTypeElement* GetValue1() const override { return m_value1; }
    void ClearOperandValues() override;
    void EvaluateOperand1() override;
    void Execute() override;

protected:
    // The result for a present operand value; nil for no value.
    virtual Owned<TTypeElement> Apply(const TTypeElement& value);
    // Releases a replaced operand and takes the new one as sub-tool.
    void replaceOperand(WeakRef<TOperator>& slot, TOperator* op);
    void takeOperands(std::vector<Owned<TOperator>>& into) override;
    // The operand in slot, taken out of the sub-tools without being freed.
    Owned<TOperator> takeOperand(WeakRef<TOperator>& slot);

private:
    WeakRef<TOperator> m_operand1;
    TTypeElement* m_value1 = nullptr;   // Output of operand 1, valid until ClearOperandValues
};

// Arity 2: operand 2 is evaluated only when operand 1 gave a value. A chain of such nodes down
// their operand 1 (a + b - c ..., a AND b AND ...) is evaluated from its innermost node up, one
// node at a time, so a long flat condition nests no call per operand.
class TTwoPtrOperator : public TOnePtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void SetOperand2(TOperator* op) override;
    TOperator* GetOperand2() const override { return m_operand2.get(); }
    void SetValue2(TTypeElement* value) override { m_value2 = value; }
    TTypeElement* GetValue2() const override { return m_value2; }
    void ClearOperandValues() override;
    void EvaluateOperand2() override;
    // Nodes differ in ExecuteOnValue1, so that a chain is evaluated by its top node.
    void Execute() final;

protected:
    // The node's result once value 1 is set: operand 2 is evaluated as the node needs, then
    // Combine (when both values are present).
    virtual void ExecuteOnValue1();
    // The result for two present values; nil for no value (as here).
    virtual Owned<TTypeElement> Combine(const TTypeElement& left, const TTypeElement& right);
    void takeOperands(std::vector<Owned<TOperator>>& into) override;

private:
    WeakRef<TOperator> m_operand2;
    TTypeElement* m_value2 = nullptr;
};

// A literal: Output is the constant itself, never freed by ClearResult.
class TConstOperator : public TNoPtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The previous constant is released; value becomes a child.
    void SetConstant(TTypeElement* value);
    TTypeElement* Constant() const { return m_constant.get(); }
    void Execute() override;
    void ClearResult() override {}

protected:
    void DeclareTypes(const TTypeFlags&, const TTypeFlags&) override;

private:
    WeakRef<TTypeElement> m_constant;
};

// Reads a property of the current element. Operand 1 is its fixed inner EXISTSPROP test over a
// constant holding the name: a published property gives a value of its declared type; any
// other name goes through the element's GetPropAsString (number texts become numbers).
class TReadPropOperator : public TOnePtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;
    void SetPropertyName(const QString& name);
    const QString& PropertyName() const { return m_propertyName; }
    void Execute() override;

protected:
    void DeclareTypes(const TTypeFlags&, const TTypeFlags&) override;

private:
    Owned<TTypeElement> readPublished(TPersistent& element) const;
    Owned<TTypeElement> readAsText(TPersistent& element) const;

    QString m_propertyName;
};

// The root of a condition: true only for a Boolean true.
class TCondition : public TOnePtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual bool EvaluateBoolean();
    // Output := a new Boolean element holding EvaluateBoolean.
    void Execute() override;

protected:
    void DeclareTypes(const TTypeFlags&, const TTypeFlags&) override;
};

// --- the operator catalogue ------------------------------------------------------------------
// The concrete operators differ only in what they make of their operand values and which kinds they
// can yield: each names its rule (the catalogue in Operators.cpp). The templates give every class its
// own descriptor, registered with the arity class as its parent.

// A one-operand operator: the result for a present value (nil: no value), and the kinds it yields
// from the operand's kinds.
struct UnaryRule {
    const char* className;
    Owned<TTypeElement> (*apply)(TNoPtrOperator& node, const TTypeElement& value);
    void (*declare)(TOperator& node, const TTypeFlags& operand1);
};

// A two-operand operator; a comparison keeps the kinds of its base (declare is nil).
struct BinaryRule {
    const char* className;
    Owned<TTypeElement> (*combine)(const TTypeElement& left, const TTypeElement& right);
    void (*declare)(TOperator& node, const TTypeFlags& operand1, const TTypeFlags& operand2);
};

template<class Self>
class UnaryOperator : public TOnePtrOperator
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<Self, TOnePtrOperator>(QLatin1String(Self::rule.className));
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

protected:
    Owned<TTypeElement> Apply(const TTypeElement& value) override { return Self::rule.apply(*this, value); }
    void DeclareTypes(const TTypeFlags& operand1, const TTypeFlags&) override { Self::rule.declare(*this, operand1); }
};

template<class Self, class Base = TTwoPtrOperator>
class BinaryOperator : public Base
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<Self, Base>(QLatin1String(Self::rule.className));
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

protected:
    Owned<TTypeElement> Combine(const TTypeElement& left, const TTypeElement& right) override
    {
        return Self::rule.combine(left, right);
    }
    void DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2) override
    {
        if constexpr (std::is_same_v<Base, TTwoPtrOperator>)
            Self::rule.declare(*this, operand1, operand2);
        else
            Base::DeclareTypes(operand1, operand2);
    }
};

// --- one-operand operators ---------------------------------------------------------------------

// CLASS(name): the current element's class is so named (ASCII case ignored).
class TClassIsOperator : public UnaryOperator<TClassIsOperator> { public: static const UnaryRule rule; };
// ANCESTOR(name): the current element's class or one of its ancestors is so named.
class TIsAncestorOperator : public UnaryOperator<TIsAncestorOperator> { public: static const UnaryRule rule; };
// EXISTSPROP(name): the current element's class publishes the property; false for "".
class TPropExistsOperator : public UnaryOperator<TPropExistsOperator> { public: static const UnaryRule rule; };
// ABS: same kind as the operand.
class TAbsValOperator : public UnaryOperator<TAbsValOperator> { public: static const UnaryRule rule; };
// ROUND: halves to even; Byte for a Byte, else Integer (ERangeError beyond 32 bits).
class TRoundOperator : public UnaryOperator<TRoundOperator> { public: static const UnaryRule rule; };
// TRUNC: toward zero; kinds as ROUND.
class TTruncOperator : public UnaryOperator<TTruncOperator> { public: static const UnaryRule rule; };
// COS (radians).
class TCosOperator : public UnaryOperator<TCosOperator> { public: static const UnaryRule rule; };
// SIN (radians).
class TSinOperator : public UnaryOperator<TSinOperator> { public: static const UnaryRule rule; };
// ARCTAN (radians).
class TArcTanOperator : public UnaryOperator<TArcTanOperator> { public: static const UnaryRule rule; };
// EXP; EOverflow for a large value.
class TExpOperator : public UnaryOperator<TExpOperator> { public: static const UnaryRule rule; };
// FRAC: the value minus its integral part, sign kept.
class TFracOperator : public UnaryOperator<TFracOperator> { public: static const UnaryRule rule; };
// LN; no value for 0 or less.
class TLnOperator : public UnaryOperator<TLnOperator> { public: static const UnaryRule rule; };
// ODD of an integral value.
class TOddOperator : public UnaryOperator<TOddOperator> { public: static const UnaryRule rule; };
// SQR: the square as a Float.
class TSqrOperator : public UnaryOperator<TSqrOperator> { public: static const UnaryRule rule; };
// SQRT; no value below 0.
class TSqrtOperator : public UnaryOperator<TSqrtOperator> { public: static const UnaryRule rule; };
// Unary minus: Integer for integral operands (EIntOverflow for -2147483648), Float for Float.
class TUnMinusOperator : public UnaryOperator<TUnMinusOperator> { public: static const UnaryRule rule; };
// NOT of a Boolean.
class TNotOperator : public UnaryOperator<TNotOperator> { public: static const UnaryRule rule; };
// The TNa... operators convert ("na", to) a value to one kind.
// TOBOOLEAN of a Boolean, Byte or Integer.
class TNaBooleanOperator : public UnaryOperator<TNaBooleanOperator> { public: static const UnaryRule rule; };
// TOCHAR of a Char or Byte.
class TNaCharOperator : public UnaryOperator<TNaCharOperator> { public: static const UnaryRule rule; };
// TOBYTE of a Boolean, Char, Byte or Integer.
class TNaByteOperator : public UnaryOperator<TNaByteOperator> { public: static const UnaryRule rule; };
// TOFLOAT of a numeric value.
class TNaFloatOperator : public UnaryOperator<TNaFloatOperator> { public: static const UnaryRule rule; };
// TOSTRING of any kind but Pointer and Other.
class TNaStringOperator : public UnaryOperator<TNaStringOperator> { public: static const UnaryRule rule; };
// TOINTEGER of a Char, Byte, Float or Integer (a Float truncated).
class TNaIntegerOperator : public UnaryOperator<TNaIntegerOperator> { public: static const UnaryRule rule; };

// --- two-operand operators ---------------------------------------------------------------------

// +: Integer sum (EIntOverflow), Float sum, or the concatenation of Char/String texts.
class TPlusOperator : public BinaryOperator<TPlusOperator> { public: static const BinaryRule rule; };
// -: Integer (EIntOverflow) or Float difference.
class TMinusOperator : public BinaryOperator<TMinusOperator> { public: static const BinaryRule rule; };
// Multiplication ("krát", times) *: two integral operands give an Integer when the product fits in 32 bits, else a Float.
class TKratOperator : public BinaryOperator<TKratOperator> { public: static const BinaryRule rule; };
// Division ("děleno", divided by) /: Float quotient (EZeroDivide, EInvalidOp for 0 / 0).
class TDelenoOperator : public BinaryOperator<TDelenoOperator> { public: static const BinaryRule rule; };
// MOD: remainder with the dividend's sign; no value for a zero divisor.
class TModOperator : public BinaryOperator<TModOperator> { public: static const BinaryRule rule; };
// DIV: quotient truncated toward zero; no value for a zero divisor.
class TDivOperator : public BinaryOperator<TDivOperator> { public: static const BinaryRule rule; };

// Base of the comparisons: values of the same kind or both numeric; the left kind chooses the test.
class TCompareOperator : public TTwoPtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    enum class Relation { Greater, Less, Equal };

    // The comparison's answer, or no value (Boolean < and >, Other).
    static Owned<TTypeElement> Compare(const TTypeElement& left, const TTypeElement& right, Relation relation);

protected:
    void DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2) override;
};

// Greater than ("větší") >
class TVetsiOperator : public BinaryOperator<TVetsiOperator, TCompareOperator> { public: static const BinaryRule rule; };
// Less than ("menší") <
class TMensiOperator : public BinaryOperator<TMensiOperator, TCompareOperator> { public: static const BinaryRule rule; };
// Equal to ("rovno") = (numbers equal when they differ by less than 1E-13)
class TRovnoOperator : public BinaryOperator<TRovnoOperator, TCompareOperator> { public: static const BinaryRule rule; };

// AND: false without evaluating operand 2 when operand 1 is false.
class TAndOperator : public TTwoPtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

protected:
    void ExecuteOnValue1() override;
    void DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2) override;
};

// OR: true without evaluating operand 2 when operand 1 is true.
class TOrOperator : public TTwoPtrOperator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

protected:
    void ExecuteOnValue1() override;
    void DeclareTypes(const TTypeFlags& operand1, const TTypeFlags& operand2) override;
};
