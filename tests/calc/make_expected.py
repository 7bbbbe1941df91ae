# SPDX-License-Identifier: MIT
"""Prints the expected rows of designcalculator_test.cpp, computed without the calculator.

Exact arithmetic throughout: decimal texts become fractions, single precision is reached by exact
nearest-even rounding (cross-checked against struct.pack('f')), the dimension quotient is the same
IEEE double division and multiplication the program does, three-place rounding is
Decimal.quantize(ROUND_HALF_EVEN) on the float's exact value, and seven significant digits are taken
from the exact value of the rounded float. Run: python3 tests/calc/make_expected.py
"""
import math
import struct
from decimal import ROUND_HALF_DOWN, ROUND_HALF_EVEN, ROUND_HALF_UP, Context, Decimal, getcontext
from fractions import Fraction

getcontext().prec = 400
CONSTANTS = (8370, 2787, 165, 345)
FLT_MAX = Fraction((2**24 - 1) * 2**104)


def f32(x):
    """Nearest single-precision value of the exact number x (ties to even); None on overflow."""
    x = Fraction(x)
    if x == 0:
        return 0.0
    sign, x = (-1 if x < 0 else 1), abs(x)
    e = x.numerator.bit_length() - x.denominator.bit_length()
    if Fraction(2) ** e > x:
        e -= 1
    quantum = Fraction(2) ** (max(e, -126) - 23)
    n, rest = divmod(x / quantum, 1)
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and n % 2 == 1):
        n += 1
    value = n * quantum
    if value > FLT_MAX:
        return None
    return sign * float(value)


def narrow(d):
    """double -> float as the program narrows, checked against the C conversion struct.pack does."""
    exact = f32(Fraction(d))
    try:
        packed = struct.unpack('f', struct.pack('f', d))[0]
    except OverflowError:
        packed = None
    if packed in (float('inf'), float('-inf')):
        packed = None
    assert exact == packed, (d, exact, packed)
    return exact


def seven_digits(value, sep='.'):
    """The number-to-text rule: at most seven significant digits of the exact value."""
    d = Decimal(value)
    if d == 0:
        return '0'
    up, down = (Context(prec=7, rounding=r).plus(d) for r in (ROUND_HALF_UP, ROUND_HALF_DOWN))
    assert up == down, f'{value!r} is a seven-digit tie; keep it out of the tables'
    r = Context(prec=7, rounding=ROUND_HALF_EVEN).plus(d)
    sign = '-' if r < 0 else ''
    digits = ''.join(map(str, r.as_tuple().digits)).rstrip('0')
    exp10 = r.adjusted()
    if exp10 >= 7 or exp10 < -4:
        mantissa = digits[0] + (sep + digits[1:] if len(digits) > 1 else '')
        return f"{sign}{mantissa}E{'+' if exp10 >= 0 else '-'}{abs(exp10):02d}"
    if exp10 < 0:
        return sign + '0' + sep + '0' * (-exp10 - 1) + digits
    whole, frac = digits[:exp10 + 1].ljust(exp10 + 1, '0'), digits[exp10 + 1:]
    return sign + whole + (sep + frac if frac else '')


def dimension_text(value, sep='.'):
    rounded = Decimal(value).quantize(Decimal('0.001'), rounding=ROUND_HALF_EVEN)
    return seven_digits(f32(Fraction(rounded)), sep)


def design(freq_text, cm):
    """Texts of rad, stud, gap, feed, or the name of the first dimension that overflows."""
    freq = f32(Fraction(Decimal(freq_text)))
    texts = []
    for name, k in zip(('rad', 'stud', 'gap', 'feed'), CONSTANTS):
        q = float(k) / freq
        if cm:
            q = q * 2.54
        v = narrow(q)
        if v is None:
            return f'Overflow at {name}'
        texts.append(dimension_text(v))
    return texts


def hexf(v):
    """A C++ hexadecimal float literal of a single-precision value."""
    mantissa, exponent = v.hex().split('p')
    return f"{mantissa.rstrip('0').rstrip('.')}p{exponent}f"


def cpp(s):
    return '"' + s + '"'


REFERENCE = [  # the program's reference table
    ('146', False, ['57.329', '19.089', '1.13', '2.363']),
    ('146', True, ['145.615', '48.486', '2.871', '6.002']),
    ('440', False, ['19.023', '6.334', '0.375', '0.784']),
    ('1', False, ['8370', '2787', '165', '345']),
    ('-146', False, ['-57.329', '-19.089', '-1.13', '-2.363']),
]
for text, cm, texts in REFERENCE:
    assert design(text, cm) == texts, (text, cm, design(text, cm))
assert design('2640', False)[2] == '0.062'
assert seven_digits(f32(Fraction(Decimal('146.52')))) == '146.52'

print('// band table')
BANDS = ['1.8', '3.5', '7', '14', '28', '50', '144', '146.52', '222',
         '432', '902', '1296', '2640', '0.1', '9999.999', '4e-35']
for text in BANDS:
    for cm in (False, True):
        r = design(text, cm)
        if isinstance(r, list):
            print(f'    {{{cpp(text)}, {"kCm" if cm else "kIn"}, {{{", ".join(map(cpp, r))}}}}},')
        else:
            print(f'    // {text} {"cm" if cm else "in"}: {r}')

print('// formatDimension: ties and near-ties of the three-place rounding')
near = []
for text in ['0.0625', '0.1875', '0.3125', '0.9375', '1000.0625', '-2.5625', '0.0005', '-0.0005',
             '0.0004', '-0.0004', '2.0015', '8.0025', '57.3287', '0.9996', '1234.5678', '123456.0625', '1e20',
             '3.4028235e38', '0', '-0']:
    v = math.copysign(f32(Fraction(Decimal(text))), -1 if text.startswith('-') else 1)
    near.append((text, v))
    print(f'    {{{hexf(v)}, {cpp(dimension_text(v))}}}, // {text} -> exact {Decimal(v)}')

print('// formatFrequency')
for text in ['146.52', '0', '-0.5', '0.375', '100', '1000000', '9999999', '1e7', '12345678', '0.0001',
             '0.00009999', '1e-5', '123456.7', '3.4028235e38', '1.4e-45', '-2.5e-10', '0.1', '-0']:
    v = math.copysign(f32(Fraction(Decimal(text))), -1 if text.startswith('-') else 1)
    print(f'    {{{hexf(v)}, {cpp(seven_digits(v))}}}, // {text}')
print('    // with separators:', seven_digits(f32(Fraction(Decimal('12345678'))), ','),
      seven_digits(f32(Fraction(Decimal('146.52'))), '\u066b').encode(),
      dimension_text(f32(Fraction(Decimal('0.0625'))), ','), dimension_text(-2.5625, '\u066b').encode())

print('// special frequencies')
print('1e-39 ->', hexf(f32(Fraction(Decimal('1e-39')))))
print('4e-35 ->', hexf(f32(Fraction(Decimal('4e-35')))))
# Per unit, the smallest positive frequency whose radiator still fits single precision, and the
# float below it, which overflows. In centimetres the first one's quotient lies between FLT_MAX and
# the midpoint to 2^128, so it narrows to FLT_MAX rather than overflowing.
for cm in (False, True):
    lo, hi = 1, 0x7F7FFFFF
    while lo < hi:
        mid = (lo + hi) // 2
        f = struct.unpack('f', struct.pack('I', mid))[0]
        q = 8370.0 / f * (2.54 if cm else 1)
        if narrow(q) is None:
            lo = mid + 1
        else:
            hi = mid
    for bits in (lo, lo - 1):
        f = struct.unpack('f', struct.pack('I', bits))[0]
        text = f'{Decimal(f):.8e}'
        assert f32(Fraction(Decimal(text))) == f
        q = 8370.0 / f * (2.54 if cm else 1)
        print('cm' if cm else 'in', text, hexf(f), 'rad quotient', q.hex(), design(text, cm))
