// Number routines of the original run time.
#include "platform/text/Numbers.h"

#include "platform/Exceptions.h"

namespace txt {
namespace {

QChar g_decimalSeparator = QLatin1Char(',');
QChar g_thousandSeparator = QLatin1Char(' ');

} // namespace

QChar decimalSeparator() { return g_decimalSeparator; }
void setDecimalSeparator(QChar c) { g_decimalSeparator = c; }
QChar thousandSeparator() { return g_thousandSeparator; }
void setThousandSeparator(QChar c) { g_thousandSeparator = c; }

} // namespace txt
