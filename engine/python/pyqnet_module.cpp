// Python face of the engine: converts arguments and results, nothing more.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>

#include "engine.hpp"
#include "error.hpp"
#include "export_file.hpp"

namespace py = pybind11;

namespace {

qnet::Engine& TheEngine() {
  static qnet::Engine engine;
  return engine;
}

qnet::PropertyValue ToValue(const py::handle& object, const std::string& name) {
  if (py::isinstance<py::bool_>(object)) return object.cast<bool>();
  if (PyIndex_Check(object.ptr())) return py::int_(py::reinterpret_borrow<py::object>(object)).cast<long long>();  // also NumPy integers
  if (py::isinstance<py::float_>(object)) return object.cast<double>();
  if (py::isinstance<py::str>(object)) return object.cast<std::string>();
  throw qnet::Error(name + " takes a number, a truth value or a text, not " +
                    std::string(py::str(py::type::handle_of(object).attr("__name__"))));
}

py::object FromValue(const qnet::PropertyValue& value) {
  return std::visit([](const auto& v) -> py::object { return py::cast(v); }, value);
}

// train(handle[, log_path]): a whole number is the handle, a text the log path.
std::string Train(const py::args& args) {
  std::optional<long long> handle;
  std::optional<std::string> log_path;
  for (const py::handle& arg : args) {
    if (PyIndex_Check(arg.ptr()) && !py::isinstance<py::bool_>(arg))
      handle = py::int_(py::reinterpret_borrow<py::object>(arg)).cast<long long>();
    else if (py::isinstance<py::str>(arg)) log_path = arg.cast<std::string>();
    else throw qnet::Error("train takes a model handle and optionally a log path");
  }
  if (!handle) throw qnet::Error("train needs a model handle");
  return TheEngine().Train(*handle, log_path);
}

}  // namespace

PYBIND11_MODULE(pyqnet, m) {
  m.doc() = "Interval-network classifier engine";
  py::register_exception<qnet::Error>(m, "QNetError", PyExc_ValueError);

  m.def("new", [](const py::kwargs& kwargs) {
    qnet::Engine::Keywords keywords;
    for (const auto& [key, value] : kwargs) {
      const std::string name = py::str(key);
      keywords.emplace_back(name, ToValue(value, name));
    }
    return TheEngine().New(keywords);
  }, "new(**settings) -> handle of a new model set up from keywords such as inputs, outputs, epoch");
  m.def("qnet", [] { return TheEngine().NewEmpty(); }, "qnet() -> handle of an empty model, for load of a model file");
  m.def("addxy", [](long long h, const std::vector<double>& x, const std::vector<double>& y) {
    TheEngine().AddPattern(h, x, y);
    return TheEngine().Model(h).PatternCount();
  }, "addxy(handle, inputs, targets) -> pattern count", py::arg("handle"), py::arg("inputs"), py::arg("targets"));
  m.def("load", [](long long h, const std::string& path) { return TheEngine().Load(h, path); },
        "load(handle, path): a .csv training table or a .nnw model file");
  m.def("info", [](long long h) { return TheEngine().Info(h); }, "info(handle) -> description");
  m.def("train", &Train, "train(handle[, log_path]) -> result text");
  m.def("save", [](long long h, const std::string& path) { return TheEngine().Save(h, path); },
        "save(handle, path): a .nnw model file or a .csv training table");
  m.def("source", [](long long h, const std::string& path) { return TheEngine().Source(h, path); },
        "source(handle, path): the .js browser export, or its .cpp or .pas form");
  m.def("commonjs", [](const std::string& path) {
    qnet::ConvertToCommonJs(qnet::NativePath(path));
    return path;
  }, "commonjs(path): rewrites a .js export written by source into its CommonJS form");
  m.def("compute", [](long long h, const std::vector<double>& x) { return TheEngine().Compute(h, x); },
        "compute(handle, inputs) -> outputs");
  m.def("fit", [](long long h, const std::vector<std::vector<double>>& x, const std::vector<std::vector<double>>& y) {
    return TheEngine().Fit(h, x, y);
  }, "fit(handle, input_rows, target_rows) -> result text; the rows replace the patterns and the model trains on them");
  m.def("get", [](long long h, const std::string& name) { return FromValue(qnet::GetProperty(TheEngine().Model(h), name)); },
        "get(handle, property) -> value");
  m.def("set", [](long long h, const std::string& name, const py::object& value) {
    qnet::SetProperty(TheEngine().Model(h), name, ToValue(value, name));
  }, "set(handle, property, value)");
}
