#pragma once
// Short spellings for the rows of a module's settings table.
#include "module_settings.h"

namespace velmcore {

inline OptionControl label(std::string caption, int top, int left) {
    return {OptionControl::Kind::Label, std::move(caption), top, left, 0, 0, {}};
}

inline OptionControl edit(std::string keyText, int top, int left, int width, int tag, std::string defaultValue) {
    return {OptionControl::Kind::Edit, std::move(keyText), top, left, width, tag, std::move(defaultValue)};
}

// The menu of the modules that keep one folder per class.
inline std::vector<MenuRow> classFolderMenu() {
    return {{"Create &Class", MenuCommand::CreateClass}, {"&Open Class", MenuCommand::OpenClass},
            {"&Remove Class", MenuCommand::RemoveClass}, {"-", MenuCommand::Separator},
            {"&Build All", MenuCommand::BuildAll},       {"-", MenuCommand::Separator},
            {"&Publish All", MenuCommand::PublishAll}};
}

// The menu of the modules that train on text files in one fixed data item.
inline std::vector<MenuRow> dataItemMenu() {
    return {{"&Open Class", MenuCommand::OpenClass}, {"-", MenuCommand::Separator},
            {"&Build All", MenuCommand::BuildAll},   {"-", MenuCommand::Separator},
            {"&Publish All", MenuCommand::PublishAll}};
}

// The first row, laid out alike in every module.
inline std::vector<OptionControl> pathRow(const std::string& trainKey, const std::string& trainDefault,
                                          const std::string& secondLabel, const std::string& testKey,
                                          const std::string& testDefault, const std::string& modelDefault) {
    return {label("Train path:", 4, 5),     edit(trainKey, 2, 60, 90, 10, trainDefault),
            label(secondLabel, 4, 157),     edit(testKey, 2, 210, 90, 11, testDefault),
            label("Model path:", 4, 305),   edit("model_path = ", 2, 365, 90, 12, modelDefault)};
}

inline const char* const kImageFilter = "Image jpg(*.jpg)|*.jpg|All files(*.*)|*.*";
inline const char* const kAudioFilter = "Audio wav(*.wav)|*.wav|All files(*.*)|*.*";

}  // namespace velmcore
