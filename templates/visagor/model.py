"""The face network: six convolution blocks, then a dense soft-max head.

The head is only there to train the blocks; the network up to its flattened
features is what the engine and the browser use.
"""
import tf_keras

BLOCK_FILTERS = (8, 8, 16, 16, 32, 32)
DROPOUT_RATE = 0.2


def create_model(img_height, img_width, classes_num):
    layers = [tf_keras.layers.Input(shape=(img_height, img_width, 3))]
    for filters in BLOCK_FILTERS:
        layers += [
            tf_keras.layers.Conv2D(filters, 3, padding="same",
                                   kernel_initializer="glorot_uniform", bias_initializer="glorot_uniform"),
            tf_keras.layers.Activation("relu"),
            tf_keras.layers.MaxPooling2D(2),
            tf_keras.layers.Dropout(DROPOUT_RATE),
        ]
    layers += [
        tf_keras.layers.Flatten(),
        tf_keras.layers.Dense(classes_num, kernel_initializer="glorot_uniform"),
        tf_keras.layers.Activation("softmax"),
    ]
    return tf_keras.Sequential(layers)


def compile_model(model):
    # The loss is told that it receives logits although the network ends in a
    # soft-max; the shipped models were trained so, and retraining keeps it.
    model.compile(optimizer=tf_keras.optimizers.Adam(),
                  loss=tf_keras.losses.SparseCategoricalCrossentropy(from_logits=True),
                  metrics=["accuracy"])
    return model


def create_feature_model(model):
    """The network from its input up to the flatten layer, third from the end."""
    return tf_keras.Model(inputs=model.inputs, outputs=model.layers[-3].output)
