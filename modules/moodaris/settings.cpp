// Emotion classification: one folder of face pictures per emotion.
#include "settings_builders.h"

namespace velmcore {

const ModuleSettings& moduleSettings() {
    static const ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "TEmoClsForm";
        s.actionClass = "TEmoAction";
        s.containerClass = "TEmoContainer";
        s.dialogFilter = kImageFilter;
        s.dialogDefaultExt = "jpg";
        s.buildIndex = 2;
        s.menu = classFolderMenu();
        s.options = pathRow("train_images_path = ", "images\\train", "Test path:", "test_images_path = ", "images\\test",
                            "model");
        s.options.insert(s.options.end(), {
            label("Train image size:", 25, 5),
            edit("img_height = ", 22, 88, 50, 13, "640"),
            label("X", 25, 142),
            edit("img_width = ", 22, 150, 50, 14, "480"),
            label("X", 25, 202),
            edit("batch_size = ", 22, 210, 20, 15, "1"),
            label("Train TessalyANN epoch:", 25, 235),
            edit("qnet_epochs = ", 23, 365, 90, 17, "100"),
        });
        return s;
    }();
    return settings;
}

}  // namespace velmcore
