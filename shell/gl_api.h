// The OpenGL entry points the program uses, taken at run time from the
// opengl32.dll in System32 alone. opengl32 is no KnownDLL: imported the
// usual way, a copy planted beside the .scr (a Downloads folder) would be
// loaded in its place.
#pragma once
#include <windows.h>
#include <GL/gl.h>

#define QM_GL_ENTRY_POINTS(X)                                                                     \
    X(HGLRC, wglCreateContext, (HDC))                                                               \
    X(BOOL, wglMakeCurrent, (HDC, HGLRC))                                                           \
    X(BOOL, wglDeleteContext, (HGLRC))                                                              \
    X(HGLRC, wglGetCurrentContext, (void))                                                          \
    X(BOOL, wglUseFontBitmapsA, (HDC, DWORD, DWORD, DWORD))                                         \
    X(PROC, wglGetProcAddress, (LPCSTR))                                                            \
    X(void, glBindTexture, (GLenum, GLuint))                                                        \
    X(void, glBlendFunc, (GLenum, GLenum))                                                          \
    X(void, glClear, (GLbitfield))                                                                  \
    X(void, glClearColor, (GLclampf, GLclampf, GLclampf, GLclampf))                                 \
    X(void, glColor3f, (GLfloat, GLfloat, GLfloat))                                                 \
    X(void, glColorPointer, (GLint, GLenum, GLsizei, const GLvoid*))                                \
    X(void, glDeleteTextures, (GLsizei, const GLuint*))                                             \
    X(void, glDepthMask, (GLboolean))                                                               \
    X(void, glDisable, (GLenum))                                                                    \
    X(void, glDisableClientState, (GLenum))                                                         \
    X(void, glDrawElements, (GLenum, GLsizei, GLenum, const GLvoid*))                               \
    X(void, glEnable, (GLenum))                                                                     \
    X(void, glEnableClientState, (GLenum))                                                          \
    X(void, glFinish, (void))                                                                       \
    X(GLuint, glGenLists, (GLsizei))                                                                \
    X(void, glGenTextures, (GLsizei, GLuint*))                                                      \
    X(void, glGetIntegerv, (GLenum, GLint*))                                                        \
    X(const GLubyte*, glGetString, (GLenum))                                                        \
    X(void, glLoadIdentity, (void))                                                                 \
    X(void, glMatrixMode, (GLenum))                                                                 \
    X(void, glNormalPointer, (GLenum, GLsizei, const GLvoid*))                                      \
    X(void, glOrtho, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))                  \
    X(void, glPixelStorei, (GLenum, GLint))                                                         \
    X(void, glPopClientAttrib, (void))                                                              \
    X(void, glPopMatrix, (void))                                                                    \
    X(void, glPushClientAttrib, (GLbitfield))                                                       \
    X(void, glPushMatrix, (void))                                                                   \
    X(void, glReadPixels, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, GLvoid*))                \
    X(void, glTexCoordPointer, (GLint, GLenum, GLsizei, const GLvoid*))                             \
    X(void, glTexImage2D, (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*)) \
    X(void, glTexParameteri, (GLenum, GLenum, GLint))                                               \
    X(void, glTranslatef, (GLfloat, GLfloat, GLfloat))                                              \
    X(void, glVertexPointer, (GLint, GLenum, GLsizei, const GLvoid*))                               \
    X(void, glViewport, (GLint, GLint, GLsizei, GLsizei))

// One member per entry point, named as OpenGL names it: gl.glClear(...).
struct gl_entry_points {
#define QM_GL_MEMBER(result, name, params) result(APIENTRY* name) params = nullptr;
    QM_GL_ENTRY_POINTS(QM_GL_MEMBER)
#undef QM_GL_MEMBER
};

extern gl_entry_points gl;

// The current context's text for `name` (GL_VERSION, GL_RENDERER, ...), "?"
// when it gives none.
const char* gl_string(GLenum name);

// OpenGL 2.0's shader calls: a context offers them through
// wglGetProcAddress, never as opengl32's own exports.
#define QM_GL2_ENTRY_POINTS(X)                                                                    \
    X(GLuint, glCreateShader, (GLenum))                                                             \
    X(void, glShaderSource, (GLuint, GLsizei, const char* const*, const GLint*))                    \
    X(void, glCompileShader, (GLuint))                                                              \
    X(void, glGetShaderiv, (GLuint, GLenum, GLint*))                                                \
    X(void, glGetShaderInfoLog, (GLuint, GLsizei, GLsizei*, char*))                                 \
    X(void, glDeleteShader, (GLuint))                                                               \
    X(GLuint, glCreateProgram, (void))                                                              \
    X(void, glAttachShader, (GLuint, GLuint))                                                       \
    X(void, glLinkProgram, (GLuint))                                                                \
    X(void, glGetProgramiv, (GLuint, GLenum, GLint*))                                               \
    X(void, glGetProgramInfoLog, (GLuint, GLsizei, GLsizei*, char*))                                \
    X(void, glDeleteProgram, (GLuint))                                                              \
    X(void, glUseProgram, (GLuint))                                                                 \
    X(GLint, glGetUniformLocation, (GLuint, const char*))                                           \
    X(void, glUniform1i, (GLint, GLint))                                                            \
    X(void, glUniform2f, (GLint, GLfloat, GLfloat))                                                 \
    X(void, glUniform3f, (GLint, GLfloat, GLfloat, GLfloat))

struct gl2_entry_points {
#define QM_GL_MEMBER(result, name, params) result(APIENTRY* name) params = nullptr;
    QM_GL2_ENTRY_POINTS(QM_GL_MEMBER)
#undef QM_GL_MEMBER
};

extern gl2_entry_points gl2;

// Fills `gl2` from the current context; false (and `gl2` empty) when the
// context lacks any of them.
bool load_gl2();

// Framebuffer objects' calls, as OpenGL 3.0 and GL_ARB_framebuffer_object
// name them; GL_EXT_framebuffer_object's are the same with "EXT" after.
#define QM_GL_FRAMEBUFFER_ENTRY_POINTS(X)                                                         \
    X(void, glGenFramebuffers, (GLsizei, GLuint*))                                                  \
    X(void, glDeleteFramebuffers, (GLsizei, const GLuint*))                                         \
    X(void, glBindFramebuffer, (GLenum, GLuint))                                                    \
    X(void, glGenRenderbuffers, (GLsizei, GLuint*))                                                 \
    X(void, glDeleteRenderbuffers, (GLsizei, const GLuint*))                                        \
    X(void, glBindRenderbuffer, (GLenum, GLuint))                                                   \
    X(void, glRenderbufferStorage, (GLenum, GLenum, GLsizei, GLsizei))                              \
    X(void, glFramebufferRenderbuffer, (GLenum, GLenum, GLenum, GLuint))                            \
    X(GLenum, glCheckFramebufferStatus, (GLenum))

struct gl_framebuffer_entry_points {
#define QM_GL_MEMBER(result, name, params) result(APIENTRY* name) params = nullptr;
    QM_GL_FRAMEBUFFER_ENTRY_POINTS(QM_GL_MEMBER)
#undef QM_GL_MEMBER
};

extern gl_framebuffer_entry_points gl_fb;

// Fills `gl_fb` from the current context, each name followed by `suffix`
// ("" or "EXT"); false (and `gl_fb` empty) when the context lacks any.
bool load_gl_framebuffers(const char* suffix);

// Loads System32's opengl32 and fills `gl`; a second call does nothing.
// On failure returns the name of the call that failed ("LoadLibraryExW" or
// "GetProcAddress"), with the system's error code left for the report;
// returns null on success.
const char* load_gl();
