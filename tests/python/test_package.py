# SPDX-License-Identifier: MIT
# The package's shape: the extension's stub, no stub restating Python source, annotations, no import circle.
import ast
import inspect
import pathlib
import re

import fibmod
from fibmod import _core

PACKAGE = pathlib.Path(fibmod.__file__).parent


def stubbed():
    """The stub's functions (name: parameter names) and its other names (constants and aliases)."""
    tree = ast.parse((PACKAGE / "_core.pyi").read_text())
    functions, names = {}, set()
    for node in tree.body:
        if isinstance(node, ast.FunctionDef):
            arguments = node.args
            functions[node.name] = [a.arg for a in arguments.posonlyargs + arguments.args + arguments.kwonlyargs]
        elif isinstance(node, ast.AnnAssign):
            names.add(node.target.id)
    return functions, names


def test_the_extensions_stub_names_every_function_and_constant_with_its_parameters():
    functions, names = stubbed()
    public = {name for name in dir(_core) if not name.startswith("_") or name == "__version__"}
    assert set(functions) | names == public
    for name, parameters in functions.items():
        # pybind11 writes each function's signature as the first line of its docstring.
        signature = getattr(_core, name).__doc__.split("\n")[0]
        assert re.findall(r"(\w+):", signature[signature.index("(") + 1:signature.rindex(")")]) == parameters, name


def test_no_stub_restates_python_source():
    for stub in PACKAGE.rglob("*.pyi"):
        assert not stub.with_suffix(".py").exists(), stub


def test_every_public_function_is_annotated():
    import fibmod.distributed
    import fibmod.frames
    for module in (fibmod, fibmod.frames, fibmod.distributed):
        for name in module.__all__:
            function = getattr(module, name)
            if inspect.isfunction(function):
                signature = inspect.signature(function)
                assert signature.return_annotation is not inspect.Signature.empty, f"{module.__name__}.{name}"
                assert all(p.annotation is not inspect.Parameter.empty for p in signature.parameters.values()), \
                    f"{module.__name__}.{name}"


def test_no_module_of_the_package_imports_one_that_imports_it_back():
    def module_of(path):
        parts = path.relative_to(PACKAGE.parent).with_suffix("").parts
        return ".".join(parts[:-1] if parts[-1] == "__init__" else parts)

    modules = {module_of(path): path for path in PACKAGE.rglob("*.py")}
    # The compiled extension is a module too, named by its stub; it imports none of these.
    known = set(modules) | {module_of(path) for path in PACKAGE.rglob("*.pyi")}
    imports = {}
    for name, path in modules.items():
        found = set()
        for node in ast.walk(ast.parse(path.read_text())):
            if isinstance(node, ast.Import):
                found |= {alias.name for alias in node.names}
            elif isinstance(node, ast.ImportFrom) and node.module:
                found |= {f"{node.module}.{alias.name}" if f"{node.module}.{alias.name}" in known else node.module
                          for alias in node.names}
        imports[name] = found & set(modules) - {name}

    def reaches(start, goal, seen=()):
        return any(step == goal or (step not in seen and reaches(step, goal, (*seen, step))) for step in imports[start])

    assert [name for name in modules if reaches(name, name)] == []
