// Run by the command line's WebAssembly build under node before main: the
// program sees no environment of the process there, and its C library has
// no locale data. The decimal separator of the locale the environment names
// (LC_ALL, else LC_NUMERIC, else LANG, as the C library picks it) is handed
// over as PARVOLIN_DECIMAL_SEPARATOR, read from node's own locale data, so
// that with no --sep the program writes numbers as the native one does.
// (Plain older JavaScript: emscripten's optimizer reads this file too.)
Module["preRun"] = (Module["preRun"] || []).concat(function () {
    var name = process.env.LC_ALL || process.env.LC_NUMERIC || process.env.LANG || "C";
    var tag = name.split(/[.@]/)[0].replace("_", "-");
    var separator = ".";
    if (tag !== "C" && tag !== "POSIX" && tag !== "") {
        try {
            var parts = new Intl.NumberFormat(tag).formatToParts(1.5);
            for (var i = 0; i < parts.length; ++i) {
                if (parts[i].type === "decimal")
                    separator = parts[i].value;
            }
        } catch (unknown) {
            // Not a locale node knows: the C locale's point.
        }
    }
    ENV["PARVOLIN_DECIMAL_SEPARATOR"] = separator === "," ? "," : ".";
});
