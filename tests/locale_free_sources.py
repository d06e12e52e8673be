#!/usr/bin/env python3
"""Fails when the program's sources call something whose result follows the
process locale.

The window's toolkit sets the process locale from the environment, so under
cs_CZ.UTF-8 the C library reads "1.25" as 1 and writes 0.5 as "0,5". Numbers
are read and written by the solver's own code, std::from_chars/std::to_chars,
integer_text, or Qt's C-locale functions instead.

A line may still call one of these names when it says why in a comment:
    ... // locale-free: <the reason it cannot follow the locale here>
Comments and string literals are not searched.

Usage: locale_free_sources.py SOURCE_DIR   (searches solver/, cli/, ui/, web/)
"""

import pathlib
import re
import sys

# name pattern -> why it is forbidden
FORBIDDEN = [
    (r"\b(?:std::)?(?:strtod|strtof|strtold|atof|wcstod|wcstof|wcstold)\s*\(",
     "reads the decimal point of the process locale"),
    (r"\bstd::sto(?:d|f|ld)\s*\(", "reads the decimal point of the process locale (strtod)"),
    (r"\b(?:std::)?(?:strtol|strtoul|strtoll|strtoull|atoi|atol|atoll)\s*\(",
     "accepts locale-specific forms and skips locale blanks; use std::from_chars"),
    (r"\bstd::sto(?:i|l|ul|ll|ull)\s*\(", "is strtol, which follows the locale; use std::from_chars"),
    (r"\b(?:std::)?(?:printf|fprintf|sprintf|snprintf|vsnprintf|vsprintf|vfprintf|"
     r"scanf|sscanf|fscanf|wprintf|swprintf)\s*\(",
     "formats and reads floating values with the locale's decimal point"),
    (r"\bstd::to_string\s*\(", "writes a floating value with the locale's decimal point; use integer_text"),
    (r"\bstd::to_wstring\s*\(", "writes a floating value with the locale's decimal point"),
    (r"#\s*include\s*<(?:sstream|iostream|istream|ostream|fstream|iomanip|locale|regex)>",
     "streams, std::locale and std::regex format, read and classify by the global locale"),
    (r"\bstd::(?:o|i)?stringstream\b", "formats numbers by the global locale"),
    (r"\b(?:std::)?(?:isalpha|isdigit|isalnum|isspace|isupper|islower|isxdigit|ispunct|"
     r"isprint|iscntrl|isgraph|isblank|iswalpha|iswdigit|iswspace|iswalnum)\s*\(",
     "classifies by the locale's character type; use solver/ascii.h"),
    (r"\b(?:std::)?(?:tolower|toupper|towlower|towupper)\s*\(",
     "changes case by the locale's character type; use ascii_lower"),
    (r"\b(?:strcasecmp|strncasecmp)\s*\(", "folds case by the locale; use equal_ignoring_ascii_case"),
    (r"\b(?:std::)?(?:strcoll|strxfrm|wcscoll)\s*\(", "collates by the locale"),
    (r"\b(?:std::)?(?:localeconv|setlocale)\s*\(",
     "reads or changes the process locale; the regional settings are read once with newlocale"),
    (r"\bQLocale\s*\(\s*\)|\bQLocale::system\s*\(",
     "the toolkit's default locale is the user's; use QLocale::c() or the solver's number code"),
]

ALLOW = re.compile(r"//\s*locale-free:\s*\S")


def code_lines(text):
    """Yields (line number, code without comments and literals, whole line)."""
    in_block = False
    for number, line in enumerate(text.splitlines(), 1):
        code = []
        i = 0
        while i < len(line):
            if in_block:
                end = line.find("*/", i)
                if end < 0:
                    i = len(line)
                else:
                    in_block = False
                    i = end + 2
                continue
            ch = line[i]
            if line.startswith("//", i):
                break
            if line.startswith("/*", i):
                in_block = True
                i += 2
                continue
            digit_separator = ch == "'" and i > 0 and line[i - 1].isalnum()
            if ch in "\"'" and not digit_separator:
                quote = ch
                j = i + 1
                while j < len(line) and line[j] != quote:
                    j += 2 if line[j] == "\\" else 1
                code.append(quote + quote)
                i = j + 1
                continue
            code.append(ch)
            i += 1
        yield number, "".join(code), line


def include_line(line):
    return re.match(r"\s*#\s*include\s*<", line) is not None


def scan(root):
    found = []
    for folder in ("solver", "cli", "ui", "web"):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h", ".hpp", ".cc"):
                continue
            text = path.read_text(encoding="utf-8")
            for number, code, line in code_lines(text):
                if include_line(line):
                    code = line  # <...> is no string literal
                for pattern, reason in FORBIDDEN:
                    if re.search(pattern, code) and not ALLOW.search(line):
                        found.append(f"{path.relative_to(root)}:{number}: {line.strip()}\n    {reason}")
    return found


def self_check():
    """The scanner finds what it must and leaves comments and texts alone."""
    rows = [
        ("double x = std::strtod(t, nullptr);", True),
        ("std::snprintf(b, 8, \"%.1e\", v);", True),
        ("auto s = std::to_string(2.5);", True),
        ("if (std::isdigit(c))", True),
        ("#include <sstream>", True),
        ("QLocale().toString(x)", True),
        ("// strtod follows the locale", False),
        ("text = \"std::strtod(\";", False),
        ("bool is_digit(char c);", False),
        ("auto s = integer_text(5);", False),
        ("QLocale::c().toString(x)", False),
        ("std::printf(\"%d\", n); // locale-free: an integer, never grouped", False),
    ]
    failures = []
    for source, expected in rows:
        hits = 0
        for _, code, line in code_lines(source):
            if include_line(line):
                code = line
            hits += any(re.search(p, code) for p, _ in FORBIDDEN) and not ALLOW.search(line)
        if bool(hits) != expected:
            failures.append(f"self-check: {source!r} {'missed' if expected else 'flagged'}")
    return failures


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    problems = self_check() + scan(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} locale-dependent call(s) in the sources")
        return 1
    print("no locale-dependent call in solver/, cli/, ui/, web/")
    return 0


if __name__ == "__main__":
    sys.exit(main())
