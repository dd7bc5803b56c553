// Sizes and timing of the face classification app.
export const FRAME_SIZE = 360;
export const CAMERA_FRAME_WIDTH = 480;
export const MODEL_INPUT_SIZE = 192;
export const VIDEO_INFERENCE_INTERVAL = 2000;

export const CLASS_MAP_URL = './model/model_info.json';
export const FEATURE_MODEL_URL = './model/model.json';
export const FACE_DETECTOR_URL = './lib/face-detector/facemesh-detection-short.json';
