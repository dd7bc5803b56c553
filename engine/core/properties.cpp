#include "properties.hpp"

#include <cmath>
#include <functional>
#include <limits>

#include "error.hpp"

namespace qnet {

namespace {

struct Property {
  const char* name;
  std::function<PropertyValue(const TKNet&)> get;
  std::function<void(TKNet&, const PropertyValue&, const std::string&)> set;  // empty: read only
};

long long AsWhole(const PropertyValue& value, const std::string& name, long long low, long long high) {
  long long whole = 0;
  if (const long long* i = std::get_if<long long>(&value)) {
    whole = *i;
  } else if (const bool* b = std::get_if<bool>(&value)) {
    whole = *b ? 1 : 0;
  } else {
    throw Error(name + " takes a whole number");
  }
  if (whole < low || whole > high)
    throw Error(name + " must lie from " + std::to_string(low) + " to " + std::to_string(high) + ", not " +
                std::to_string(whole));
  return whole;
}

double AsReal(const PropertyValue& value, const std::string& name) {
  double real = 0.0;
  if (const double* d = std::get_if<double>(&value)) real = *d;
  else if (const long long* i = std::get_if<long long>(&value)) real = static_cast<double>(*i);
  else throw Error(name + " takes a number");
  if (!std::isfinite(real)) throw Error(name + " must be a finite number");
  return real;
}

bool AsBool(const PropertyValue& value, const std::string& name) {
  if (const bool* b = std::get_if<bool>(&value)) return *b;
  return AsWhole(value, name, 0, 1) != 0;
}

std::string AsText(const PropertyValue& value, const std::string& name) {
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  throw Error(name + " takes a text");
}

constexpr long long kIntMax = std::numeric_limits<int>::max();

// Sizes reshape the net: its layers are built anew, empty.
template <int TKNet::*Field>
Property Size(const char* name, long long low) {
  return {name, [](const TKNet& n) { return PropertyValue(static_cast<long long>(n.*Field)); },
          [low](TKNet& n, const PropertyValue& v, const std::string& key) {
            const int old = n.*Field;
            n.*Field = static_cast<int>(AsWhole(v, key, low, 1000000));
            try {
              n.BuildLayers();
            } catch (...) {
              n.*Field = old;
              throw;
            }
          }};
}

template <int TKNet::*Field>
Property Whole(const char* name, long long low, long long high) {
  return {name, [](const TKNet& n) { return PropertyValue(static_cast<long long>(n.*Field)); },
          [low, high](TKNet& n, const PropertyValue& v, const std::string& key) {
            n.*Field = static_cast<int>(AsWhole(v, key, low, high));
          }};
}

template <double TKNet::*Field>
Property Real(const char* name) {
  return {name, [](const TKNet& n) { return PropertyValue(n.*Field); },
          [](TKNet& n, const PropertyValue& v, const std::string& key) { n.*Field = AsReal(v, key); }};
}

template <bool TKNet::*Field>
Property Flag(const char* name) {
  return {name, [](const TKNet& n) { return PropertyValue(n.*Field); },
          [](TKNet& n, const PropertyValue& v, const std::string& key) { n.*Field = AsBool(v, key); }};
}

template <std::string TKNet::*Field>
Property Text(const char* name) {
  return {name, [](const TKNet& n) { return PropertyValue(n.*Field); },
          [](TKNet& n, const PropertyValue& v, const std::string& key) { n.*Field = AsText(v, key); }};
}

const std::vector<Property>& Properties() {
  static const std::vector<Property> properties = {
      Size<&TKNet::InputNeuronCount>("InputNeuronCount", 0),
      Size<&TKNet::OutputNeuronCount>("OutputNeuronCount", 0),
      Size<&TKNet::LayerCount>("LayerCount", 1),
      {"PatternCount", [](const TKNet& n) { return PropertyValue(static_cast<long long>(n.PatternCount())); }, {}},
      Text<&TKNet::IniFileName>("IniFileName"),
      Text<&TKNet::DataFileName>("DataFileName"),
      Whole<&TKNet::IntervalCount>("IntervalCount", 0, 1000000),
      Flag<&TKNet::AutoIntervals>("AutoIntervals"),
      Real<&TKNet::MinSignal>("MinSignal"),
      Real<&TKNet::MaxSignal>("MaxSignal"),
      Whole<&TKNet::NeuronCount>("NeuronCount", 0, kIntMax),
      {"TrainPatterns", [](const TKNet& n) { return PropertyValue(n.TrainPatterns); },
       [](TKNet& n, const PropertyValue& v, const std::string& key) { n.SetTrainPatterns(AsReal(v, key)); }},
      Flag<&TKNet::MixPatterns>("MixPatterns"),
      Whole<&TKNet::Epoch>("Epoch", 0, 255),
      Whole<&TKNet::EpochCount>("EpochCount", 0, kIntMax),
      Whole<&TKNet::ErrorType>("ErrorType", 0, 4),
      Real<&TKNet::IdentError>("IdentError"),
      Real<&TKNet::TrainError>("TrainError"),
      Real<&TKNet::TrainErrorLevel>("TrainErrorLevel"),
      Real<&TKNet::MaxTrainError>("MaxTrainError"),
      {"TrainTime", [](const TKNet& n) { return PropertyValue(static_cast<long long>(n.TrainTime)); }, {}},
      Flag<&TKNet::TrainCalc>("TrainCalc"),
      Whole<&TKNet::Density>("Density", 0, kIntMax),
      Flag<&TKNet::Interpolate>("Interpolate"),
      {"RecognizedTeachCount",
       [](const TKNet& n) { return PropertyValue(static_cast<long long>(n.RecognizedTeachCount)); }, {}},
      Whole<&TKNet::WeightInit>("WeightInit", 0, kIntMax),
      Flag<&TKNet::ContinueTeach>("ContinueTeach"),
      {"EpochCurrent", [](const TKNet& n) { return PropertyValue(static_cast<long long>(n.EpochCurrent)); }, {}},
  };
  return properties;
}

const Property& Find(const std::string& name) {
  for (const Property& property : Properties())
    if (name == property.name) return property;
  throw Error("unknown property '" + name + "'");
}

}  // namespace

PropertyValue GetProperty(const TKNet& net, const std::string& name) { return Find(name).get(net); }

void SetProperty(TKNet& net, const std::string& name, const PropertyValue& value) {
  const Property& property = Find(name);
  if (!property.set) throw Error(name + " is read only");
  property.set(net, value, name);
}

std::vector<std::string> PropertyNames() {
  std::vector<std::string> names;
  for (const Property& property : Properties()) names.emplace_back(property.name);
  return names;
}

}  // namespace qnet
