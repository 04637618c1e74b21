// The size of the texture that holds a picture, for what the GL can take.
#pragma once

struct texture_limits {
    bool any_size = false; // non-power-of-two textures (OpenGL 2.0 or the extension)
    int max_size = 0;      // GL_MAX_TEXTURE_SIZE
};

struct texture_size {
    int width = 0;
    int height = 0;
};

// The picture's own size when the GL takes it as it is, so that the still
// frame is the picture pixel for pixel. Otherwise a power-of-two square at
// least 1024 wide (old hardware without non-power-of-two textures must still
// see a sharp picture), large enough for the picture's longer side but never
// over the GL's limit.
texture_size texture_size_for(int width, int height, texture_limits limits);

// The next mipmap level's size: halved and rounded down, never below 1.
texture_size next_mip_level(texture_size size);

// Whether a GL with this GL_VERSION and GL_EXTENSIONS text takes textures of
// any size: OpenGL 2.0 or later, or GL_ARB_texture_non_power_of_two.
bool takes_any_texture_size(const char* version, const char* extensions);
