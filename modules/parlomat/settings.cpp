// Chat bot: dialogue files per topic in the data item "Train".
#include "settings_builders.h"

namespace velmcore {

const ModuleSettings& moduleSettings() {
    static const ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "TChatBotForm";
        s.containerClass = "TBotContainer";
        s.dialogFilter = "Train yml(*.yml)|*.yml|All files(*.*)|*.*";
        s.dialogDefaultExt = "yml";
        s.buildIndex = 3;
        s.menu = dataItemMenu();
        s.pathRule = ClassPathRule::ParentPath;
        s.dataItem = "Train";
        s.options = pathRow("train_path = ", "data/chatbot/train", "Class path:", "test_path = ", "data/classification",
                            "model/chatbot");
        s.options.insert(s.options.end(), {
            label("Qnet batch size:", 25, 5),
            edit("batch_size = ", 22, 85, 115, 13, "1"),
            label("Train epoch Keras/Q-Net:", 25, 210),
            edit("keras_epochs = ", 23, 365, 40, 16, "250"),
            label("/", 25, 408),
            edit("qnet_epochs = ", 23, 415, 40, 17, "1000"),
        });
        return s;
    }();
    return settings;
}

}  // namespace velmcore
