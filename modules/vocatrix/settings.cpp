// Speech commands: one folder of spoken recordings per command word.
#include "settings_builders.h"

namespace velmcore {

const ModuleSettings& moduleSettings() {
    static const ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "TVocatrixForm";
        s.actionClass = "TSpchAction";
        s.containerClass = "TSpchContainer";
        s.dialogFilter = kAudioFilter;
        s.dialogDefaultExt = "wav";
        s.buildIndex = 2;
        s.menu = classFolderMenu();
        s.folderFallback = true;
        s.options = pathRow("train_path = ", "data\\train", "Test path:", "test_path = ", "data\\test", "model");
        s.options.insert(s.options.end(), {
            label("Qnet batch size:", 25, 5),
            edit("batch_size = ", 22, 85, 115, 13, "1"),
            label("Train epoch Keras/Q-Net:", 25, 210),
            edit("keras_epochs = ", 23, 365, 40, 16, "3"),
            label("/", 25, 408),
            edit("qnet_epochs = ", 23, 415, 40, 17, "5"),
        });
        return s;
    }();
    return settings;
}

}  // namespace velmcore
