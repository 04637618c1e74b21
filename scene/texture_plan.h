// How the texture that holds a picture is made, for what the GL can take.
#pragma once

// What one OpenGL context offers, read once per context.
struct gl_capabilities {
    bool any_size = false;   // non-power-of-two textures (OpenGL 2.0 or the extension)
    int max_size = 0;        // GL_MAX_TEXTURE_SIZE
    bool edge_clamp = false; // GL_CLAMP_TO_EDGE (OpenGL 1.2 or an edge-clamp extension)
    bool shaders = false;    // GLSL 1.10 (OpenGL 2.0)
};

// From the context's GL_VERSION and GL_EXTENSIONS texts and its largest
// texture. Either text may be null.
gl_capabilities read_capabilities(const char* version, const char* extensions, int max_size);

struct texture_size {
    int width = 0;
    int height = 0;
};

struct texture_plan {
    texture_size size;
    bool mipmaps = false;    // the picture is shown smaller than it is
    bool edge_clamp = false; // else GL_CLAMP, whose border colour must never show
    // Texture coordinates are kept within [inset, 1 - inset]: with GL_CLAMP
    // half a texel of the smallest mipmap level the shown size draws from,
    // so filtering never reaches the border; 0 (no limit) with
    // GL_CLAMP_TO_EDGE, where waves past the edge stretch it.
    float inset_u = 0;
    float inset_v = 0;
};

// The texture for a width x height picture shown at shown_width x
// shown_height. With `small_copy` (a picture that is only ever shown small,
// as in a preview) the texture is about the shown size rather than the
// picture's.
texture_plan plan_texture(const gl_capabilities& gl, int width, int height, int shown_width,
                          int shown_height, bool small_copy);

// Keeps u and v within [inset, 1 - inset] of a `plan`'s texture shown at
// shown_width x shown_height (a window may be resized after the upload):
// with GL_CLAMP half a texel of the smallest mipmap level drawn from, so
// filtering never reaches the border; 0 with GL_CLAMP_TO_EDGE.
void plan_inset(texture_plan& plan, int shown_width, int shown_height);

// The picture's own size when the GL takes it as it is, so that the still
// frame is the picture pixel for pixel. Otherwise a power-of-two square at
// least 1024 wide (old hardware without non-power-of-two textures must still
// see a sharp picture), large enough for the picture's longer side but never
// over the GL's limit.
texture_size texture_size_for(int width, int height, gl_capabilities gl);

// The next mipmap level's size: halved and rounded down, never below 1.
texture_size next_mip_level(texture_size size);
