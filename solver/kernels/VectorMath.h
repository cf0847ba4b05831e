#pragma once
// exp, log, atan2 and sincos on GCC vectors of doubles, every lane at once, for an instruction set
// that has vector arithmetic but no library of vector functions (WebAssembly's simd128): called
// lane by lane, the C library's functions take most of a flow-field point's time.
//
// Each reduces its argument to a short interval (exactly, or by a table of a few dozen values
// held as a double and the rest) and sums a truncated Taylor series there, the terms taken until
// the next is far below a unit in the last place. That path serves the arguments a flow field
// meets: finite, normal, within the function's range. When any lane's argument is outside it (a
// zero, a subnormal, an infinity, a NaN, an exp that overflows or underflows), the whole vector
// goes to the C library lane by lane, so those values are exactly its values. Within 1 ulp of the
// C library for exp, 2 for sin, cos and atan2, 3 for log (checked over their ranges).
//
// V is the vector of doubles, I the vector of 64-bit integers of the same width, and `Lanes` gives
// `sqrt(V)` (correctly rounded), `allTrue(I)` (whether every lane of a comparison's mask is set)
// and the lane count `Width`.

#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

namespace orvek {
namespace {

template <class V, class I, class Lanes>
struct VectorMath {
    typedef unsigned long long U __attribute__((vector_size(sizeof(I))));
    // Added to a value below 2^51 in magnitude, leaves its nearest integer in the low bits.
    static constexpr double Shifter = 0x1.8p52;
    static constexpr double Ln2Hi = 0x1.62e42fefa4000p-1;  // 40 bits: e Ln2Hi is exact for |e| < 2^13
    static constexpr double Ln2Lo = -0x1.8432a1b0e2634p-43;
    static constexpr double ThirtyTwoOverLn2 = 0x1.71547652b82fep+5;
    static constexpr double Ln2O32Hi = 0x1.62e42fefa0000p-6;  // ln 2/32 in 36 bits, and the rest
    static constexpr double Ln2O32Lo = 0x1.cf79abc9e3b3ap-45;
    static constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
    // pi/2 in three parts of 33 bits: n times each is exact for |n| < 2^20
    static constexpr double PiO2A = 0x1.921fb54400000p+0;
    static constexpr double PiO2B = 0x1.0b4611a600000p-34;
    static constexpr double PiO2C = 0x1.3198a2e037073p-69;
    // pi and pi/2 as a double and the rest
    static constexpr double Pi = 0x1.921fb54442d18p+1, PiLo = 0x1.1a62633145c07p-53;
    static constexpr double PiO2 = 0x1.921fb54442d18p+0, PiO2Lo = 0x1.1a62633145c07p-54;

    static V splat(double v) {
        V out;
        for (std::size_t j = 0; j < Lanes::Width; ++j) out[j] = v;
        return out;
    }
    static I splatBits(long long v) {
        I out;
        for (std::size_t j = 0; j < Lanes::Width; ++j) out[j] = v;
        return out;
    }
    // c[0] + c[1] x + c[2] x^2 + ... by Estrin's scheme: neighbouring terms paired, then the pairs
    // with x^2, those with x^4, ... The products of one level are independent of each other, so
    // the chain of dependent operations is about log2 N long instead of Horner's N.
    template <std::size_t N>
    static V poly(V x, const double (&c)[N]) {
        V level[(N + 1) / 2];
        std::size_t count = 0;
        for (std::size_t k = 0; k < N; k += 2) level[count++] = k + 1 < N ? c[k] + c[k + 1] * x : splat(c[k]);
        V power = x * x;
        while (count > 1) {
            std::size_t next = 0;
            for (std::size_t k = 0; k < count; k += 2) level[next++] = k + 1 < count ? level[k] + level[k + 1] * power : level[k];
            count = next;
            power = power * power;
        }
        return level[0];
    }
    // The pair table[index] in every lane, as the vector of its first and that of its second
    // values; each lane reads its pair on its own (unrolled: a loop over the lanes would go
    // through memory).
    template <std::size_t N>
    static void gather(const double (&table)[N][2], I index, V& first, V& second) {
        gatherLanes(table, index, first, second, std::make_index_sequence<Lanes::Width>());
    }
    template <std::size_t N, std::size_t... J>
    static void gatherLanes(const double (&table)[N][2], I index, V& first, V& second, std::index_sequence<J...>) {
        const Pair pairs[] = {loadPair(table[index[J]])...};  // one 16-byte load a lane
        first = V{pairs[J][0]...};
        second = V{pairs[J][1]...};
    }
    typedef double Pair __attribute__((vector_size(2 * sizeof(double))));
    static Pair loadPair(const double (&pair)[2]) {
        Pair p;
        std::memcpy(&p, pair, sizeof p);
        return p;
    }
    static V bitsToDouble(I v) { return reinterpret_cast<V>(v); }
    static I doubleToBits(V v) { return reinterpret_cast<I>(v); }
    static V abs(V v) { return bitsToDouble(doubleToBits(v) & splatBits(0x7FFFFFFFFFFFFFFFLL)); }
    // n in the low bits of t = n + Shifter, as an integer
    static I integerOf(V t) { return doubleToBits(t) - doubleToBits(splat(Shifter)); }
    template <class Mask>
    static bool allOf(Mask mask) {
        return Lanes::allTrue(reinterpret_cast<I>(mask));
    }
    template <class Function, std::size_t... J>
    static V eachLane(Function f, V x, std::index_sequence<J...>) {
        return V{f(x[J])...};
    }
    template <class Function>
    static V eachLane(Function f, V x) {
        return eachLane(f, x, std::make_index_sequence<Lanes::Width>());
    }

    // e^x = 2^(n/32) e^r with n the nearest integer to 32 x/ln 2, |r| <= ln 2/64; 2^(n/32) from
    // the table of 2^(j/32), j = n mod 32, times 2^((n - j)/32). For |x| < 708, where the result
    // is a normal number.
    static V exp(V x) {
        static constexpr double Exp2[][2] = {  // 2^(j/32) as a double and the rest
            {0x1.0000000000000p+0, 0x0.0p+0},
            {0x1.059b0d3158574p+0, 0x1.d73e2a475b465p-55},
            {0x1.0b5586cf9890fp+0, 0x1.8a62e4adc610bp-54},
            {0x1.11301d0125b51p+0, -0x1.6c51039449b3ap-54},
            {0x1.172b83c7d517bp+0, -0x1.19041b9d78a76p-55},
            {0x1.1d4873168b9aap+0, 0x1.e016e00a2643cp-54},
            {0x1.2387a6e756238p+0, 0x1.9b07eb6c70573p-54},
            {0x1.29e9df51fdee1p+0, 0x1.612e8afad1255p-55},
            {0x1.306fe0a31b715p+0, 0x1.6f46ad23182e4p-55},
            {0x1.371a7373aa9cbp+0, -0x1.63aeabf42eae2p-54},
            {0x1.3dea64c123422p+0, 0x1.ada0911f09ebcp-55},
            {0x1.44e086061892dp+0, 0x1.89b7a04ef80d0p-59},
            {0x1.4bfdad5362a27p+0, 0x1.d4397afec42e2p-56},
            {0x1.5342b569d4f82p+0, -0x1.07abe1db13cadp-55},
            {0x1.5ab07dd485429p+0, 0x1.6324c054647adp-54},
            {0x1.6247eb03a5585p+0, -0x1.383c17e40b497p-54},
            {0x1.6a09e667f3bcdp+0, -0x1.bdd3413b26456p-54},
            {0x1.71f75e8ec5f74p+0, -0x1.16e4786887a99p-55},
            {0x1.7a11473eb0187p+0, -0x1.41577ee04992fp-55},
            {0x1.82589994cce13p+0, -0x1.d4c1dd41532d8p-54},
            {0x1.8ace5422aa0dbp+0, 0x1.6e9f156864b27p-54},
            {0x1.93737b0cdc5e5p+0, -0x1.75fc781b57ebcp-57},
            {0x1.9c49182a3f090p+0, 0x1.c7c46b071f2bep-56},
            {0x1.a5503b23e255dp+0, -0x1.d2f6edb8d41e1p-54},
            {0x1.ae89f995ad3adp+0, 0x1.7a1cd345dcc81p-54},
            {0x1.b7f76f2fb5e47p+0, -0x1.5584f7e54ac3bp-56},
            {0x1.c199bdd85529cp+0, 0x1.11065895048ddp-55},
            {0x1.cb720dcef9069p+0, 0x1.503cbd1e949dbp-56},
            {0x1.d5818dcfba487p+0, 0x1.2ed02d75b3707p-55},
            {0x1.dfc97337b9b5fp+0, -0x1.1a5cd4f184b5cp-54},
            {0x1.ea4afa2a490dap+0, -0x1.e9c23179c2893p-54},
            {0x1.f50765b6e4540p+0, 0x1.9d3e12dd8a18bp-54}
        };
        // e^r - 1 = r (1 + r/2 + r^2/6 + ...), to r^6/6!: the next term is below 2^-58
        static constexpr double Series[] = {1.0, 1.0 / 2, 1.0 / 6, 1.0 / 24, 1.0 / 120, 1.0 / 720};
        if (!allOf(abs(x) < 708.0)) return eachLane([](double v) { return std::exp(v); }, x);
        const V t = x * ThirtyTwoOverLn2 + Shifter;
        const V n = t - Shifter;
        const V r = (x - n * Ln2O32Hi) - n * Ln2O32Lo;
        const I k = integerOf(t) + 32 * 1100;  // n + 32 1100 >= 0
        const I j = k & 31;
        V hi, lo;
        gather(Exp2, j, hi, lo);
        const V scaled = hi + (hi * (r * poly(r, Series)) + lo);
        // 2^((n - j)/32): its biased exponent (k - j)/32 - 1100 + 1023, from 1 to 2045, in the
        // exponent's bits; k - j is a multiple of 32, so shifting 32 times it by 47 places does it
        return scaled * bitsToDouble((k - j - 32 * (1100 - 1023)) << 47);
    }

    // log x = e ln 2 + log m with x = 2^e m, m within [1, 2); log m = log c + log(m/c) with c = k/64
    // the nearest such (m - c exact), its logarithm from the table, and log(m/c) = 2 atanh f =
    // 2 (f + f^3/3 + f^5/5 + ...), f = (m - c)/(m + c), |f| <= 1/256. Near x = 1 no digits cancel:
    // above it c = 1 and the table holds 0; below it c = 2 and the table holds ln 2 split as e ln 2
    // is, so e ln 2 + log c is exactly 0, and between them e ln 2 + log c is an exact difference.
    // For normal positive x.
    static V log(V x) {
        static constexpr double LogC[][2] = {  // log(k/64), k = 64 ... 128, as a double and the rest
            {0x0.0p+0, 0x0.0p+0},
            {0x1.fc0a8b0fc03e4p-7, -0x1.83092c59642a1p-62},
            {0x1.f829b0e783300p-6, 0x1.33e3f04f1ef23p-60},
            {0x1.77458f632dcfcp-5, 0x1.18d3ca87b9296p-59},
            {0x1.f0a30c01162a6p-5, 0x1.85f325c5bbacdp-59},
            {0x1.341d7961bd1d1p-4, -0x1.b599f227becbbp-58},
            {0x1.6f0d28ae56b4cp-4, -0x1.906d99184b992p-58},
            {0x1.a926d3a4ad563p-4, 0x1.942f48aa70ea9p-58},
            {0x1.e27076e2af2e6p-4, -0x1.61578001e0162p-60},
            {0x1.0d77e7cd08e59p-3, 0x1.9a5dc5e9030acp-57},
            {0x1.29552f81ff523p-3, 0x1.301771c407dbfp-57},
            {0x1.44d2b6ccb7d1ep-3, 0x1.9f4f6543e1f88p-57},
            {0x1.5ff3070a793d4p-3, -0x1.bc60efafc6f6ep-58},
            {0x1.7ab890210d909p-3, 0x1.be36b2d6a0608p-59},
            {0x1.9525a9cf456b4p-3, 0x1.d904c1d4e2e26p-57},
            {0x1.af3c94e80bff3p-3, -0x1.398cff3641985p-58},
            {0x1.c8ff7c79a9a22p-3, -0x1.4f689f8434012p-57},
            {0x1.e27076e2af2e6p-3, -0x1.61578001e0162p-59},
            {0x1.fb9186d5e3e2bp-3, -0x1.caaae64f21acbp-57},
            {0x1.0a324e27390e3p-2, 0x1.7dcfde8061c03p-56},
            {0x1.1675cababa60ep-2, 0x1.ce63eab883717p-61},
            {0x1.22941fbcf7966p-2, -0x1.76f5eb09628afp-56},
            {0x1.2e8e2bae11d31p-2, -0x1.8f4cdb95ebdf9p-56},
            {0x1.3a64c556945eap-2, -0x1.c68651945f97cp-57},
            {0x1.4618bc21c5ec2p-2, 0x1.f42decdeccf1dp-56},
            {0x1.51aad872df82dp-2, 0x1.3927ac19f55e3p-59},
            {0x1.5d1bdbf5809cap-2, 0x1.4236383dc7fe1p-56},
            {0x1.686c81e9b14afp-2, -0x1.ddea0f7f58e3dp-57},
            {0x1.739d7f6bbd007p-2, -0x1.8c76ceb014b04p-56},
            {0x1.7eaf83b82afc3p-2, 0x1.92ce979ed2950p-56},
            {0x1.89a3386c1425bp-2, -0x1.29639dfbbf0fbp-56},
            {0x1.947941c2116fbp-2, -0x1.16cc8bae0bbe4p-56},
            {0x1.9f323ecbf984cp-2, -0x1.a92e513217f5cp-59},
            {0x1.a9cec9a9a084ap-2, -0x1.cadec02b436afp-56},
            {0x1.b44f77bcc8f63p-2, -0x1.cd04495459c78p-56},
            {0x1.beb4d9da71b7cp-2, -0x1.0f3c590a887cap-59},
            {0x1.c8ff7c79a9a22p-2, -0x1.4f689f8434012p-56},
            {0x1.d32fe7e00ebd5p-2, 0x1.877b232fafa37p-56},
            {0x1.dd46a04c1c4a1p-2, -0x1.0467656d8b892p-56},
            {0x1.e744261d68788p-2, -0x1.c825c90c344b9p-58},
            {0x1.f128f5faf06edp-2, -0x1.328df13bb38c3p-56},
            {0x1.faf588f78f31fp-2, -0x1.328260d8abca0p-57},
            {0x1.02552a5a5d0ffp-1, -0x1.cb1cb51408c00p-56},
            {0x1.0723e5c1cdf40p-1, 0x1.395e58e2445bbp-55},
            {0x1.0be72e4252a83p-1, -0x1.259da11330801p-55},
            {0x1.109f39e2d4c97p-1, -0x1.0e09b27a4373ap-60},
            {0x1.154c3d2f4d5eap-1, -0x1.59c33171a6876p-55},
            {0x1.19ee6b467c96fp-1, -0x1.9d1a11443f10cp-56},
            {0x1.1e85f5e7040d0p-1, 0x1.ef62cd2f9f1e3p-56},
            {0x1.23130d7bebf43p-1, -0x1.f48725e374d6ep-55},
            {0x1.2795e1289b11bp-1, -0x1.487c0c246978ep-57},
            {0x1.2c0e9ed448e8cp-1, -0x1.1a158f3917586p-55},
            {0x1.307d7334f10bep-1, 0x1.fb590a1f566dap-57},
            {0x1.34e289d9ce1d3p-1, 0x1.6eb92d885ce4fp-57},
            {0x1.393e0d3562a1ap-1, -0x1.58eef67f2483ap-55},
            {0x1.3d9026a7156fbp-1, -0x1.6fef670bd4b62p-55},
            {0x1.41d8fe84672aep-1, 0x1.9192f30bd1806p-55},
            {0x1.4618bc21c5ec2p-1, 0x1.f42decdeccf1dp-55},
            {0x1.4a4f85db03ebbp-1, 0x1.13dfa3d3761b6p-60},
            {0x1.4e7d811b75bb1p-1, -0x1.8d3d9ea6e9ea9p-55},
            {0x1.52a2d265bc5abp-1, -0x1.1883750ea4d0ap-57},
            {0x1.56bf9d5b3f399p-1, 0x1.0471885cd8ff3p-55},
            {0x1.5ad404c359f2dp-1, -0x1.35955683f7196p-59},
            {0x1.5ee02a9241675p-1, 0x1.c358257f49082p-55},
            {Ln2Hi, Ln2Lo}
        };
        // to f^7/7: the next term is below 2^-67 of f
        static constexpr double Series[] = {1.0, 1.0 / 3, 1.0 / 5, 1.0 / 7};
        if (!allOf((x >= 0x1p-1022) & (x <= 0x1.fffffffffffffp+1023))) return eachLane([](double v) { return std::log(v); }, x);
        const I bits = doubleToBits(x);
        const I e = reinterpret_cast<I>(reinterpret_cast<U>(bits) >> 52) - 1023;  // x positive: no sign bit
        const V m = bitsToDouble((bits & 0x000FFFFFFFFFFFFFLL) | 0x3FF0000000000000LL);  // within [1, 2)
        const V t = m * 64.0 + Shifter;
        const V c = (t - Shifter) * (1.0 / 64);
        const I k = integerOf(t) - 64;
        const V f = (m - c) / (m + c);
        V logC, logCLo;
        gather(LogC, k, logC, logCLo);
        const V ef = bitsToDouble(e + doubleToBits(splat(Shifter))) - Shifter;
        return (ef * Ln2Hi + logC) + ((ef * Ln2Lo + logCLo) + 2.0 * f * poly(f * f, Series));
    }

    // The angle of (x, y): atan t of t = min(|x|, |y|)/max(|x|, |y|) in [0, 1], as atan c + atan u
    // with c = k/16 the nearest such (t - c exact), atan c from the table, u = (t - c)/(1 + t c),
    // |u| <= 1/32, by the series u - u^3/3 + u^5/5 - ...; then put in its octant and given y's
    // sign. For x and y without NaN whose larger magnitude is a finite normal number.
    static V atan2(V y, V x) {
        static constexpr double AtanC[][2] = {  // atan(k/16), k = 0 ... 16, as a double and the rest
            {0x0.0p+0, 0x0.0p+0},
            {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60},
            {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
            {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},
            {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
            {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57},
            {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
            {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56},
            {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
            {0x1.0657e94db30d0p-1, -0x1.d5b495f6349e6p-56},
            {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
            {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},
            {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
            {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},
            {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
            {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56},
            {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}
        };
        // to u^11/11: the next term is below 2^-63 of u
        static constexpr double Series[] = {1.0, -1.0 / 3, 1.0 / 5, -1.0 / 7, 1.0 / 9, -1.0 / 11};
        const V ax = abs(x), ay = abs(y);
        const auto swap = ay > ax;
        const V num = swap ? ax : ay, den = swap ? ay : ax;
        if (!allOf((den >= 0x1p-1022) & (den <= 0x1.fffffffffffffp+1023) & (num <= den))) {  // num <= den: no NaN
            return V{atan2Lanes(y, x, std::make_index_sequence<Lanes::Width>())};
        }
        const V t = num / den;
        const V tk = t * 16.0 + Shifter;
        const V c = (tk - Shifter) * (1.0 / 16);
        const I k = integerOf(tk);
        const V u = (t - c) / (1.0 + t * c);
        V atanC, atanCLo;
        gather(AtanC, k, atanC, atanCLo);
        V a = atanC + (u * poly(u * u, Series) + atanCLo);
        a = swap ? PiO2 + (PiO2Lo - a) : a;
        a = doubleToBits(x) < 0 ? Pi + (PiLo - a) : a;  // x negative, -0 included
        return bitsToDouble(doubleToBits(a) | (doubleToBits(y) & splatBits(static_cast<long long>(0x8000000000000000ULL))));
    }
    template <std::size_t... J>
    static V atan2Lanes(V y, V x, std::index_sequence<J...>) {
        return V{std::atan2(y[J], x[J])...};
    }

    // a = n pi/2 + r, |r| <= pi/4, and the series of sin r and cos r, exchanged and signed by
    // the quadrant n mod 4. For |a| <= 10^5, where the three parts of pi/2 reduce exactly.
    static void sincos(V a, V& s, V& c) {
        static constexpr double SinSeries[] = {-1.0 / 6,
                                               1.0 / 120,
                                               -1.0 / 5040,
                                               1.0 / 362880,
                                               -1.0 / 39916800,
                                               1.0 / 6227020800.0,
                                               -1.0 / 1307674368000.0,
                                               1.0 / 355687428096000.0};
        static constexpr double CosSeries[] = {1.0 / 24,
                                               -1.0 / 720,
                                               1.0 / 40320,
                                               -1.0 / 3628800,
                                               1.0 / 479001600,
                                               -1.0 / 87178291200.0,
                                               1.0 / 20922789888000.0};
        if (!allOf(abs(a) <= 1.0e5)) {
            for (std::size_t j = 0; j < Lanes::Width; ++j) {
                s[j] = std::sin(a[j]);
                c[j] = std::cos(a[j]);
            }
            return;
        }
        const V t = a * TwoOverPi + Shifter;
        const V n = t - Shifter;
        const I q = integerOf(t);
        const V r = ((a - n * PiO2A) - n * PiO2B) - n * PiO2C;
        const V r2 = r * r;
        const V sinR = r + r * r2 * poly(r2, SinSeries);
        const V cosR = 1.0 - 0.5 * r2 + r2 * r2 * poly(r2, CosSeries);
        const auto swap = (q & 1) != 0;
        const V sinQ = swap ? cosR : sinR, cosQ = swap ? sinR : cosR;
        s = (q & 2) != 0 ? -sinQ : sinQ;
        c = ((q + 1) & 2) != 0 ? -cosQ : cosQ;
    }
};

}  // namespace
}  // namespace orvek
