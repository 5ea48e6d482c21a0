// Byte-order helpers against hand-written byte patterns.
#include "platform/files/ByteOrder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ByteOrder, LittleEndianIntegersAndDoubles)
{
    char bytes[8];
    files::writeLe64(bytes, 0x0102030405060708ull);
    EXPECT_EQ(QByteArray(bytes, 8).toHex(), QByteArray("0807060504030201"));
    EXPECT_EQ(files::readLe64(bytes), 0x0102030405060708ull);
    files::writeLe64(bytes, 0xFFEEDDCCBBAA9988ull);   // high bytes must not sign-extend
    EXPECT_EQ(files::readLe64(bytes), 0xFFEEDDCCBBAA9988ull);

    files::writeLeDouble(bytes, 1.5);   // 3FF8000000000000
    EXPECT_EQ(QByteArray(bytes, 8).toHex(), QByteArray("000000000000f83f"));
    for (const double v : {-0.0, -1234.5625, std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max()}) {
        files::writeLeDouble(bytes, v);
        const double back = files::readLeDouble(bytes);
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
}
