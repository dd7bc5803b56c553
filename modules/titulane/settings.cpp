// Headline classification: labelled headline tables in the data item "Data".
#include "settings_builders.h"

namespace velmcore {

const ModuleSettings& moduleSettings() {
    static const ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "THeadLinClsForm";
        s.containerClass = "THdlContainer";
        s.dialogFilter = "Data csv(*.csv)|*.csv|All files(*.*)|*.*";
        s.dialogDefaultExt = "csv";
        s.buildIndex = 1;
        s.menu = dataItemMenu();
        s.pathRule = ClassPathRule::ParentPath;
        s.dataItem = "Data";
        s.options = pathRow("train_path = ", "data\\train", "Test path:", "test_path = ", "data\\test", "model");
        s.options.insert(s.options.end(), {
            label("Qnet batch size:", 25, 5),
            edit("batch_size = ", 22, 85, 115, 13, "1"),
            label("Train epoch Keras/Q-Net:", 25, 235),
            edit("keras_epochs = ", 23, 365, 40, 16, "3"),
            label("/", 25, 408),
            edit("qnet_epochs = ", 23, 415, 40, 17, "20"),
        });
        return s;
    }();
    return settings;
}

}  // namespace velmcore
