// Any bytes given to the model file reader either fail with qnet::Error or
// give a model that writes a file which reads back and writes identically,
// and that evaluates without faults.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "error.hpp"
#include "export_file.hpp"
#include "model_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qnet::TKNet net;
  try {
    qnet::ParseModelFile(text, "fuzz.nnw", net);
  } catch (const qnet::Error&) {
    return 0;
  }
  const std::string written = qnet::FormatModelFile(net);
  qnet::TKNet again;
  qnet::ParseModelFile(written, "again.nnw", again);
  if (qnet::FormatModelFile(again) != written) std::abort();
  const std::vector<double> inputs(static_cast<std::size_t>(net.InputNeuronCount), 0.5);
  const std::vector<double> out = net.Compute(inputs);
  if (out.size() != static_cast<std::size_t>(net.OutputNeuronCount)) std::abort();
  qnet::FormatExport(net, qnet::ExportKind::JavaScript, "stamp");
  return 0;
}
