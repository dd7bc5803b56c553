// Face classification: one folder of face pictures per class.
#include "settings_builders.h"

namespace velmcore {

const ModuleSettings& moduleSettings() {
    static const ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "TFacClsForm";
        s.actionClass = "TFacAction";
        s.containerClass = "TFacContainer";
        s.dialogFilter = kImageFilter;
        s.dialogDefaultExt = "jpg";
        s.buildIndex = 1;
        s.menu = classFolderMenu();
        s.options = pathRow("train_images_path = ", "images_cropped\\train", "Test path:", "test_images_path = ",
                            "images_cropped\\test", "model");
        s.options.insert(s.options.end(), {
            label("Train image size:", 25, 5),
            edit("img_height = ", 22, 88, 50, 13, "192"),
            label("X", 25, 142),
            edit("img_width = ", 22, 150, 50, 14, "192"),
            label("X", 25, 202),
            edit("batch_size = ", 22, 210, 20, 15, "1"),
            label("Train epoch Keras/Q-Net:", 25, 235),
            edit("keras_epochs = ", 23, 365, 40, 16, "60"),
            label("/", 25, 408),
            edit("qnet_epochs = ", 23, 415, 40, 17, "300"),
        });
        return s;
    }();
    return settings;
}

}  // namespace velmcore
