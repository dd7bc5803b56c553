// Speaker classification: one folder of recordings per speaker.
#include "settings_builders.h"

namespace velmcore {

const ModuleSettings& moduleSettings() {
    static const ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "TSpeakClsForm";
        s.actionClass = "TSpkAction";
        s.containerClass = "TSpkContainer";
        s.dialogFilter = kAudioFilter;
        s.dialogDefaultExt = "wav";
        s.buildIndex = 2;
        s.menu = classFolderMenu();
        s.folderFallback = true;
        s.options = pathRow("train_path = ", "data\\train", "Test path:", "test_path = ", "data\\test", "model");
        s.options.insert(s.options.end(), {
            label("Qnet batch size:", 25, 5),
            edit("batch_size = ", 22, 85, 115, 13, "1"),
            label("Training Tessaly QANN epochs:", 25, 210),
            edit("qnet_epochs = ", 23, 365, 90, 17, "10"),
        });
        return s;
    }();
    return settings;
}

}  // namespace velmcore
