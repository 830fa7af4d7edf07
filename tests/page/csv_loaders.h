// csv_loaders.h: a CSV file loaded the way a user loads it, by numpy.genfromtxt(f,
// delimiter=',', names=True, dtype=None, encoding=None) and by pandas.read_csv(f, comment='#'),
// in Debian's Python (the one install-deps provides). Each loader gives its column names and
// every column as text: numbers as Python's float.hex() (strtod reads them back exactly),
// anything else as str(). A test skips when that Python or its numpy or pandas is missing.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvex::testing_support {

struct csv_table {
    std::vector<std::string> names;
    std::map<std::string, std::vector<std::string>> columns;
};

struct csv_loads {
    bool python_missing = false;
    std::string failure;  // what Python said when a loader failed
    csv_table numpy, pandas;
};

inline constexpr const char* csv_loader_script = R"(import sys
try:
    import numpy, pandas
except ImportError:
    sys.exit(77)
path, out = sys.argv[1], sys.argv[2]
a = numpy.atleast_1d(numpy.genfromtxt(path, delimiter=',', names=True, dtype=None, encoding=None))
b = pandas.read_csv(path, comment='#')
def text(v):
    return float(v).hex() if isinstance(v, (int, float, numpy.integer, numpy.floating)) else str(v)
with open(out, 'w') as o:
    for loader, names, column in (('numpy', a.dtype.names, lambda n: a[n]), ('pandas', list(b.columns), lambda n: b[n])):
        o.write(loader + ' ' + ' '.join(names) + '\n')
        for n in names:
            o.write(n + ' ' + ' '.join(text(v) for v in column(n)) + '\n')
)";

inline csv_table READ_LOADER_TABLE(std::istream& in) {
    csv_table table;
    std::string line, word;
    if (!std::getline(in, line)) return table;
    std::istringstream head(line);
    head >> word;  // the loader's name
    while (head >> word) table.names.push_back(word);
    for (std::size_t n = 0; n < table.names.size() && std::getline(in, line); ++n) {
        std::istringstream values(line);
        std::string name;
        values >> name;
        std::vector<std::string>& column = table.columns[name];
        while (values >> word) column.push_back(word);
    }
    return table;
}

inline csv_loads LOAD_CSV_IN_PYTHON(const std::filesystem::path& csv) {
    csv_loads loads;
    const std::filesystem::path python = "/usr/bin/python3";
    if (!std::filesystem::exists(python)) {
        loads.python_missing = true;
        return loads;
    }
    const std::filesystem::path script = csv.string() + ".load.py", out = csv.string() + ".loaded", err = csv.string() + ".err";
    std::ofstream(script) << csv_loader_script;
    const std::string command = python.string() + " '" + script.string() + "' '" + csv.string() + "' '" + out.string() +
                                "' 2> '" + err.string() + "'";
    const int status = std::system(command.c_str());
    std::error_code ignored;
    std::filesystem::remove(script, ignored);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        loads.python_missing = true;
    } else if (status != 0) {
        std::ifstream why(err);
        loads.failure = std::string(std::istreambuf_iterator<char>(why), {});
        if (loads.failure.empty()) loads.failure = "python3 failed";
    } else {
        std::ifstream in(out);
        loads.numpy = READ_LOADER_TABLE(in);
        loads.pandas = READ_LOADER_TABLE(in);
    }
    std::filesystem::remove(out, ignored);
    std::filesystem::remove(err, ignored);
    return loads;
}

}  // namespace orvex::testing_support
