// Change state of an ownership-transformation record and its texts.
#include "forest/base/ChangeState.h"

#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <array>

namespace {

constexpr std::array<const char*, 3> stateNames = {"nezmenilse", "bylNoveZaveden", "BudeSmazan"};
static_assert(stateNames.size() == BudeSmazan + 1);

} // namespace

QString ChangeStateToText(TTypZmeny state)
{
    return state < stateNames.size() ? QString::fromLatin1(stateNames[state]) : QString();
}

TTypZmeny TextToChangeState(const QString& text)
{
    const QString lower = txt::lowerAscii(text);
    for (size_t i = 0; i < stateNames.size(); ++i)
        if (lower == txt::lowerAscii(QString::fromLatin1(stateNames[i])))
            return static_cast<TTypZmeny>(i);
    ui::services().showMessage(QStringLiteral("Neznám typZmeny =\"") + text + QLatin1Char('"'));
    return nezmenilse;
}
