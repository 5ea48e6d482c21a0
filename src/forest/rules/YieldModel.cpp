// The yield model: mean-tree volumes, full stock and table stock of a species by growth group.
#include "forest/rules/YieldModel.h"

#include "forest/base/TextUtilities.h"
#include "forest/rules/SpeciesTable.h"

#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr double pi = 3.1415926;
// The basal area uses the five-decimal constant.
constexpr double piBasalArea = 3.14159;

struct Volumes {
    double v1 = 0;
    double v2 = 0;
};

// Full-stock polynomial c5 h^5 + ... + c0; above the height limit H0 (when given) the value at
// H0 plus slope * (h - H0).
struct StockPolynomial {
    std::array<double, 6> c;   // c5, c4, c3, c2, c1, c0
    double heightLimit;        // 0: none
    double slope;
};

constexpr std::array<StockPolynomial, 13> stockPolynomials = {{
    {{-3.337858e-06, 0.0002611765, -0.007342272, 0.4725315, 11.43678, -9.9649}, 45, 38},
    {{-6.23041e-06, 0.0006255685, -0.02900866, 0.9274968, 5.29123, -3.323526}, 40, 23},
    {{-8.223272e-06, 0.000770277, -0.03002448, 0.8720092, 7.304262, -5.010821}, 0, 0},
    {{-7.245857e-06, 0.001006349, -0.05159644, 1.436948, 6.483743, -4.664736}, 0, 0},
    {{4.280925e-06, -0.0007935021, 0.04154725, -0.5505593, 14.23112, -13.42907}, 40, 23},
    {{-1.764446e-05, 0.001914963, -0.07104336, 1.314453, 3.622401, 0.6558711}, 40, 32},
    {{-9.034502e-06, 0.0008566892, -0.03115062, 0.6900244, 4.16648, -4.790424}, 0, 0},
    {{-7.095541e-07, 0.0002476178, -0.01391729, 0.5784896, 3.660323, -1.603128}, 0, 0},
    {{3.148896e-05, -0.002171724, 0.03740009, 0.3607632, 1.149221, 0.1822508}, 0, 0},
    {{-7.142145e-06, 0.0003077536, 0.004553574, 0.2697607, 1.128143, 0.7945997}, 0, 0},
    {{-1.669336e-05, 0.001945142, -0.06856329, 1.239956, 1.17912, -1.810632}, 0, 0},
    {{-9.559409e-06, 0.0005978408, -0.009466462, 0.3806145, 3.173368, 4.506102}, 0, 0},
    {{-6.289606e-07, -5.065974e-05, 0.004575053, 0.1702549, 13.8955, 0.4598147}, 0, 0},
}};

double polynomial(const StockPolynomial& p, double h)
{
    double value = 0;
    for (const double c : p.c)
        value = value * h + c;
    return value;
}

double fullStock(int group, double h)
{
    const StockPolynomial& p = stockPolynomials[static_cast<size_t>(group)];
    if (p.heightLimit > 0 && h > p.heightLimit)
        return polynomial(p, p.heightLimit) + p.slope * (h - p.heightLimit);
    return polynomial(p, h);
}

// --- volume equations by growth group ------------------------------------------------------------

Volumes spruce(double d, double h)   // group 0
{
    const double d1 = d + 1;
    const double v1 = 4.01384e-05 * FloatPower(1.821816, d1) * FloatPower(1.132062, h);
    return {v1, v1 - 0.00928540767 * FloatPower(-1.02037409, d1) * FloatPower(0.896100664, h)};
}

Volumes pine(double d, double h)   // group 1
{
    const double d1 = d + 1;
    const double v1 = 3.034274e-05 * FloatPower(2.0752378 - 0.0124923 * std::log10(d1), d1) * FloatPower(0.9610277, h);
    return {v1, v1 - 0.071975247126 * FloatPower(-2.12448503, d1) * FloatPower(1.37259082, h)};
}

Volumes larch(double d, double h)   // group 2
{
    const double v1 = (0.000297247 + 5.219852e-05 * FloatPower(1.734207, d)) * FloatPower(1.159614, h);
    return {v1, v1 - 0.01667506 * FloatPower(1.083725, h) * FloatPower(-1.440381, d + 1)};
}

Volumes fir(double d, double h)   // groups 3 and 12
{
    const double d1 = d + 1;
    const double v1 = 4.48581e-05 * FloatPower(1.8401, d1) * FloatPower(1.10613, h);
    return {v1, v1 - 0.0299553985 * FloatPower(-1.30154794, d1) * FloatPower(0.739959, h)};
}

Volumes oak(double d, double h)   // group 4
{
    const double d2 = d * d;
    const double d3 = d2 * d;
    const double h2 = h * h;
    const double f4a = 0.462072828 + 0.431461468 / d + 0.74623908 / d2 - 0.906163094 / d3 + 0.000995857017 * h -
                       6.72924823e-06 * d * h - 9.81844892e-07 * d2 * h + 7.7539933e-09 * d3 * h;
    const double f4b = 0.446734203 + 5.98292446 / h - 2.08602528 / h2 - 14.9126481 / d + 0.0869829035 * h / d +
                       0.00105976318 * h2 / d;
    const double f4c = -26.8673666 / d2 + 16.7799101 * h / d2 - 0.221473958 * h2 / d2 + 223.051911 / d3 -
                       53.892038 * h / d3 - 1.01188892 * h2 / d3;
    const double cylinder = pi / 40000 * d2 * h;
    return {cylinder * f4a, cylinder * (f4b + f4c)};
}

Volumes beech(double d, double h)   // group 5
{
    const double d2 = d * d;
    const double d3 = d2 * d;
    const double f5a = 0.676631311 - 0.0142524815 * d + 0.000291806808 * d2 - 2.11296852e-06 * d3 -
                       0.00312671449 * h + 0.000266625592 * d * h - 5.91398197e-06 * d2 * h + 4.18813634e-08 * d3 * h;
    const double f5b = 0.564707688 - 2.32565273 / d + 39.259493 / d2 - 233.762065 / d3 - 0.00141540405 * h -
                       1.82856747e-06 * d * h + 6.20653033e-07 * d2 * h - 4.76942633e-09 * d3 * h;
    const double cylinder = pi / 40000 * d2 * h;
    return {cylinder * f5a, cylinder * f5b};
}

Volumes ash(double d, double h)   // group 6
{
    const double a = 0.8 + d;
    double v1 = a * a * (3.09165768e-05 * h + 2.3670006e-07 * h * h) - 1.70369517e-07 * a * a * a * h;
    if (v1 <= 0)
        v1 = 1e-05;
    const double b = d - 1;
    const double c = h - 2;
    return {v1, -0.0002 + 4.54715242e-05 * b * b * c - 3.93837738e-08 * b * b * c * c - 7.78230466e-08 * b * b * b * c};
}

Volumes birch(double d, double h)   // group 7
{
    const double v1 = FloatPower(1.315372, h) * (64.34456 * std::exp(-20.41107 * FloatPower(-0.2318491, d + 8)) - 0.00023);
    const double v2 =
        FloatPower(1.08471, h - 4.5) * (31152.38 * std::exp(-23.18602 * FloatPower(-0.1425706, d + 5.5)) - 0.00115);
    return {v1, v2};
}

Volumes alder(double d, double h)   // group 8
{
    const double d1 = d + 1;
    const double v1 = 2.9878649e-05 * FloatPower(2.25569529 - 0.064301769 * std::log(d1), d1) *
                      FloatPower(0.771934004 + 0.063258505 * std::log(h), h);
    return {v1, v1 > 0.011 ? 1.00849912 * FloatPower(0.9928, v1 - 0.011) : 0.0};
}

Volumes aspen(double d, double h)   // group 9
{
    const double d1 = d + 1;
    const double v1 =
        2.3284e-05 * FloatPower(1.8703 - 0.0068 * std::log(d1), d1) * FloatPower(1.1769 + 0.0346 * std::log(h), h);
    return {v1, v1 > 0.01 ? 1.066333 * FloatPower(1.027266, v1 - 0.01) : 0.0};
}

Volumes locust(double d, double h)   // group 11, and group 10 with 4/3 of the diameter
{
    const double v1 =
        FloatPower(1.229, h) * (0.691360261 * std::exp(-39.274379004076738 * FloatPower(-0.62254676, d + 12)) - 0.0002);
    const double v2 =
        (h - 3) * (1948936330 * std::exp(-34.444916539252052 * FloatPower(-0.09480205, d + 6)) - 0.0025);
    return {v1, v2};
}

std::optional<Volumes> volumes(int group, double d, double h)
{
    switch (group) {
    case 0: return spruce(d, h);
    case 1: return pine(d, h);
    case 2: return larch(d, h);
    case 3:
    case 12: return fir(d, h);
    case 4: return oak(d, h);
    case 5: return beech(d, h);
    case 6: return ash(d, h);
    case 7: return birch(d, h);
    case 8: return alder(d, h);
    case 9: return aspen(d, h);
    case 10: return locust(d * 4 / 3, h);
    case 11: return locust(d, h);
    default: return std::nullopt;   // 13, 14: no equations
    }
}

} // namespace

void YieldTableModel(const QString& abbreviation, double d, double h, double& V1, double& V2, double& S, double& T)
{
    V1 = V2 = S = T = 0;
    if (d < 6 || h < 6)
        return;
    const int group = SpeciesGrowthGroup(abbreviation);
    const std::optional<Volumes> v = volumes(group, d, h);
    if (!v)
        return;
    V1 = v->v1;
    V2 = v->v2;
    S = fullStock(group, h);
    T = V1 != 0 ? S * V2 / V1 : 0;
    if (group == 0 && T < 5)
        T = 0;
    if (V2 < 0)
        V2 = 0;
    if (T < 0)
        T = 0;
}

double YieldTableBasalArea(const QString& abbreviation, double d, double h)
{
    double v1 = 0;
    double v2 = 0;
    double s = 0;
    double t = 0;
    YieldTableModel(abbreviation, d, h, v1, v2, s, t);
    // A zero mean-tree volume has no number of trees per hectare.
    if (v2 <= 0.0001 || v1 == 0)
        return 0;
    return s / v1 * d * d / 40000 * piBasalArea;
}
