#pragma once

// A point of two floats in the protos' data (anchor points, icon offsets).

struct ProtoPoint {
    float x = 0.0f;
    float y = 0.0f;
};
