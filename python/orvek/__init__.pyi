# SPDX-License-Identifier: MIT
# Type stub of the package orvek (the compiled module _orvek and its re-exports).
from typing import Dict, List, Optional, SupportsIndex, Tuple, Union

import numpy
import numpy.typing

__version__: str

_Float = Union[float, int]
_Array = numpy.typing.NDArray[numpy.float64]

class Geometry:
    """The measured shape of an airfoil along its exact contour (chord 1)."""
    @property
    def Delta(self) -> float: """maximum thickness over chord"""
    @property
    def Gama(self) -> float: """maximum camber over chord, signed"""
    @property
    def xDltC(self) -> float: """chordwise position of the maximum thickness, over chord"""
    @property
    def Tau(self) -> float: """trailing-edge angle, degrees"""
    @property
    def xGama(self) -> float: """chordwise position of the maximum camber, over chord"""

class Solution:
    """One calculation: closed-form coefficients and the surface points 1..NP in index order
    (trailing edge first and last, lower surface, then upper); unreached points are NaN."""
    @property
    def airfoil(self) -> Airfoil: """the airfoil calculated"""
    @property
    def alpha(self) -> float: """angle of attack, degrees"""
    @property
    def CL(self) -> float: """lift coefficient"""
    @property
    def CMc4(self) -> float: """moment coefficient about the quarter chord, nose up positive"""
    @property
    def Alfa0(self) -> float: """zero-lift angle, degrees"""
    @property
    def x(self) -> _Array: """abscissae over chord, float64[NP] (leading edge at 0)"""
    @property
    def y(self) -> _Array: """ordinates over chord, float64[NP]"""
    @property
    def one_minus_cp(self) -> _Array: """1 - Cp, float64[NP]"""
    @property
    def cp(self) -> _Array: """Cp = 1 - (1 - Cp), a new float64[NP]"""
    @property
    def stagnation(self) -> Optional[List[Tuple[float, float]]]:
        """the front stagnation point and, unless m = 2, the trailing edge; None without a flow"""
    @property
    def upper(self) -> SurfaceSide: """the upper side's points, views"""
    @property
    def lower(self) -> SurfaceSide: """the lower side's points, views"""
    @property
    def viscous(self) -> Optional[Viscous]: """the viscous estimate when re was given"""
    @property
    def compressible(self) -> Optional[Compressible]: """Karman-Tsien figures when mach > 0 was given"""

class SurfaceSide:
    """One side's surface points: views into the Solution's arrays."""
    @property
    def x(self) -> _Array: """abscissae over chord"""
    @property
    def y(self) -> _Array: """ordinates over chord"""
    @property
    def one_minus_cp(self) -> _Array: """1 - Cp"""
    @property
    def cp(self) -> _Array: """Cp, a new array"""

class Flag:
    """Where the viscous estimate stops meaning anything, or a note (a bubble)."""
    @property
    def kind(self) -> str: """'turbulent separation', 'laminar separation', 'laminar bubble', 'locally supersonic'"""
    @property
    def surface(self) -> str: """'upper' or 'lower'"""
    @property
    def x(self) -> float: """x/c where it happens"""
    @property
    def invalidates(self) -> bool: """whether the estimate stops meaning anything"""
    @property
    def message(self) -> str: """the sentence for the user"""

class Viscous:
    """The viscous estimate of one case."""
    @property
    def Re(self) -> float: """Reynolds number"""
    @property
    def Ncrit(self) -> float: """critical amplification exponent"""
    @property
    def CD(self) -> float: """profile drag coefficient (Squire-Young)"""
    @property
    def CDf(self) -> float: """skin-friction drag coefficient"""
    @property
    def CDp(self) -> float: """pressure drag coefficient, CD - CDf"""
    @property
    def transition(self) -> Tuple[float, float]: """(upper, lower) x/c; 1 where laminar to the trailing edge"""
    @property
    def separation(self) -> Tuple[Optional[float], Optional[float]]: """(upper, lower) x/c or None"""
    @property
    def valid(self) -> bool: """False where a flag says the estimate means nothing"""
    @property
    def flags(self) -> List[Flag]: """the flags, each with its position and sentence"""

class Compressible:
    """Karman-Tsien corrected coefficients at Mach M and the critical Mach number."""
    @property
    def M(self) -> float: """free-stream Mach number"""
    @property
    def CL(self) -> float: """lift coefficient from the corrected pressures"""
    @property
    def CMc4(self) -> float: """quarter-chord moment from the corrected pressures"""
    @property
    def CpMin(self) -> float: """the corrected least pressure coefficient"""
    @property
    def critical_mach(self) -> float: """Mach number at which the least Cp is sonic"""
    @property
    def supersonic(self) -> bool: """whether the local flow is supersonic at M"""

class Layer:
    """One side's boundary layer, station by station from the stagnation point to the trailing edge."""
    @property
    def s(self) -> _Array: """arc length from the front stagnation point, chords"""
    @property
    def x(self) -> _Array: """x/c"""
    @property
    def y(self) -> _Array: """y/c"""
    @property
    def Ue(self) -> _Array: """edge speed the layer sees"""
    @property
    def theta(self) -> _Array: """momentum thickness, chords"""
    @property
    def delta_star(self) -> _Array: """displacement thickness, chords"""
    @property
    def H(self) -> _Array: """shape factor"""
    @property
    def Cf(self) -> _Array: """skin friction on the edge speed's dynamic pressure"""
    @property
    def N(self) -> _Array: """amplification exponent"""
    @property
    def state(self) -> numpy.ndarray: """'laminar', 'turbulent' or 'separated' per station"""

class BoundaryLayer:
    """Both boundary layers of one case and its viscous figures."""
    @property
    def upper(self) -> Layer: """the upper side"""
    @property
    def lower(self) -> Layer: """the lower side"""
    @property
    def viscous(self) -> Viscous: """CD, CDf, CDp, transition, separation, flags"""

class Field:
    """The potential flow at a set of points: arrays shaped like numpy.broadcast(x, y), NaN inside."""
    @property
    def airfoil(self) -> Airfoil: """the airfoil"""
    @property
    def alpha(self) -> float: """angle of attack, degrees"""
    @property
    def u(self) -> _Array: """velocity along x, over the free stream's speed"""
    @property
    def v(self) -> _Array: """velocity along y, over the free stream's speed"""
    @property
    def cp(self) -> _Array: """pressure coefficient 1 - (u^2 + v^2)"""
    @property
    def psi(self) -> _Array: """stream function, 0 on the airfoil"""

class Streamline:
    """One line psi = const, its points in the direction of the flow."""
    @property
    def psi(self) -> float: """the stream function's value on the line"""
    @property
    def dividing(self) -> bool: """part of the dividing streamline psi = 0"""
    @property
    def x(self) -> _Array: """abscissae"""
    @property
    def y(self) -> _Array: """ordinates"""

class Airfoil:
    """A Karman-Trefftz airfoil (m = 2: Joukowsky); immutable, comparable, hashable, picklable.
    Calculations use chord 1, leading edge at x = 0, trailing edge at (1, 0)."""
    def __init__(self, F: _Float, G: _Float, m: _Float = 2.0) -> None: ...
    @property
    def F(self) -> float: """thickness parameter"""
    @property
    def G(self) -> float: """camber parameter"""
    @property
    def m(self) -> float: """Karman-Trefftz exponent (2: Joukowsky)"""
    @property
    def name(self) -> str: """e.g. 'Karman-Trefftz F=0.1 G=0.05 m=1.9'"""
    @property
    def is_joukowsky(self) -> bool: """whether m is 2"""
    def __eq__(self, other: object) -> bool: ...
    def __ne__(self, other: object) -> bool: ...
    def __hash__(self) -> int: ...
    def solve(self, alpha: _Float, np: SupportsIndex = 51, re: Optional[_Float] = None, ncrit: _Float = 9.0,
              trip: Tuple[Optional[_Float], Optional[_Float]] = (None, None), mach: _Float = 0.0) -> Solution:
        """CL, CMc4, Alfa0 and x, y, 1 - Cp at np points (2 to 1000001) at alpha degrees; re adds
        .viscous (ncrit, trip = (upper, lower) x/c), mach adds .compressible."""
    def boundary_layer(self, alpha: _Float, re: _Float, ncrit: _Float = 9.0,
                       trip: Tuple[Optional[_Float], Optional[_Float]] = (None, None)) -> BoundaryLayer:
        """Both boundary layers station by station, and the viscous figures."""
    def critical_mach(self, alpha: _Float) -> float:
        """The Mach number at which the least Karman-Tsien corrected Cp is sonic."""
    def sweep(self, first: _Float, last: _Float, step: _Float, np: SupportsIndex = 201,
              re: Optional[_Float] = None, ncrit: _Float = 9.0,
              trip: Tuple[Optional[_Float], Optional[_Float]] = (None, None)) -> Dict[str, numpy.ndarray]:
        """A polar from first to last inclusive: alpha, CL, CMc4, Alfa0, CpMin, xCpMin, surface;
        with re also CD, CDf, CDp, xtr_upper, xtr_lower, LD and valid."""
    def describe(self) -> Geometry:
        """Delta, Gama, xDltC, Tau (degrees) and xGama of the exact contour."""
    def coordinates(self, format: str = "selig", np: SupportsIndex = 161, alpha: _Float = 0.0,
                    name: Optional[str] = None) -> str:
        """The text of orvek-batch export: 'selig', 'lednicer' or 'csv'."""
    def field(self, alpha: _Float, x: numpy.typing.ArrayLike, y: numpy.typing.ArrayLike, *,
              circulation: Optional[_Float] = None) -> Field:
        """u, v, cp and psi at the points (x, y) (chord 1, leading edge at (0, 0)), NaN inside;
        circulation: Gamma by hand (CL = 2 Gamma) instead of the Kutta condition's."""
    def streamlines(self, alpha: _Float, count: int = 21,
                    extent: Optional[Tuple[_Float, _Float, _Float, _Float]] = None,
                    plane: str = "airfoil", *, circulation: Optional[_Float] = None) -> List[Streamline]:
        """count lines of constant psi over extent (x0, x1, y0, y1), ordered by psi."""
    @staticmethod
    def design(*, thickness: _Float, camber: _Float = 0.0, te_angle: _Float = 0.0) -> Airfoil:
        """The airfoil of this thickness, camber (over chord) and trailing-edge angle (degrees)."""
