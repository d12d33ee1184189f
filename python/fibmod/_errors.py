# SPDX-License-Identifier: MIT
"""The exceptions of fibmod, importable without the extension."""

from __future__ import annotations


class RunTimeError(RuntimeError):
    """A run-time error of the window's computation.

    ``number`` is the window's error number: 6 (overflow) or 9 (subscript out
    of range, e.g. a cycle longer than the term bound). ``modulus`` is the
    modulus it happened at, or None. ``str(error)`` is the window's German
    message, e.g. "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs".
    """

    def __init__(self, number: int, message: str, modulus: int | None = None) -> None:
        super().__init__(message)
        self.number = number
        self.message = message
        self.modulus = modulus

    def __reduce__(self) -> tuple[type, tuple]:
        return (type(self), (self.number, self.message, self.modulus))


class NeverRecursError(RuntimeError):
    """With no term bound, a start pair that never comes back stopped the stepping.

    ``modulus`` is where; ``str(error)`` names the sequence, its tail and its
    cycle, e.g. "Folge 2: Startpaar kehrt nicht wieder (Vorlauf 3, Zyklus 8)".
    """

    def __init__(self, message: str, modulus: int | None = None) -> None:
        super().__init__(message)
        self.message = message
        self.modulus = modulus

    def __reduce__(self) -> tuple[type, tuple]:
        return (type(self), (self.message, self.modulus))
