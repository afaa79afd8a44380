#pragma once

namespace qm {

// The path's shaders. Every value of a segment is taken flat from its end, the strip's last
// vertex of each segment: its colour, its line for the ID buffer, and where it ends on the
// screen, from which rapids are dashed in pixels whatever the zoom.
// mode 0: the path's colours; 1: the line number as the colour (ID buffer); 2: one colour.
inline constexpr char kPathVertexShader[] = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in uint line;
layout(location = 2) in uint style;
uniform mat4 matrix;
uniform vec2 viewport;
uniform int mode;
uniform bool byTool;
uniform vec4 kindColours[3];
uniform vec4 toolColours[8];
uniform vec4 oneColour;
flat out vec4 colour;
flat out vec2 endPixel;
flat out int dashed;
void main() {
    gl_Position = matrix * vec4(position, 1.0);
    endPixel = (gl_Position.xy / gl_Position.w * 0.5 + 0.5) * viewport;
    uint kind = style & 255u;
    dashed = (mode == 0 && kind == 0u) ? 1 : 0;
    if (mode == 1)
        colour = vec4(float(line & 255u), float((line >> 8) & 255u), float((line >> 16) & 255u),
                      float(line >> 24)) / 255.0;
    else if (mode == 2)
        colour = oneColour;
    else if (byTool && kind != 0u)
        colour = toolColours[(style >> 8) % 8u];
    else
        colour = kindColours[min(kind, 2u)];
}
)";

inline constexpr char kPathFragmentShader[] = R"(#version 330 core
flat in vec4 colour;
flat in vec2 endPixel;
flat in int dashed;
out vec4 fragment;
void main() {
    if (dashed == 1 && mod(distance(gl_FragCoord.xy, endPixel), 8.0) >= 4.0) discard;
    fragment = colour;
}
)";

}  // namespace qm
