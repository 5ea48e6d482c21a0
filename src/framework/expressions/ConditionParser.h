// Condition parser: tools that turn a condition text into an operator tree.
#pragma once

#include "framework/expressions/Operators.h"

#include <QString>

// Parses Command into an expression tree (recursive descent: the text is split at its loosest
// top-level operator, the rightmost of that level, and the pieces are parsed again). Syntax errors
// raise SyntaxExcept with the 1-based position (texts in ConditionSyntax.h), also for brackets,
// keyword arguments, NOT and signs nested more than 256 deep; a whole-number literal beyond 32
// bits raises ERangeError. Time and memory grow linearly with the text.
class TExpressionCreator : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Command() const { return m_command; }
    void SetCommand(const QString& text) { m_command = text; }

    // The tree for text, never nil. The caller owns it.
    virtual Owned<TOperator> ParseExpression(const QString& text);
    // Output := the tree of Command with a new variable list (nil for an empty Command). The caller
    // owns the tree in Output.
    void Execute() override;

private:
    QString m_command;
};

// Output := a new TCondition named "Condition" over the tree of Command (no operand for an empty
// Command; on a syntax error it stays there without an operand and the error propagates). The
// caller owns the condition in Output.
class TCondCreator : public TExpressionCreator
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Execute() override;
};
