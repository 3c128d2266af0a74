#include <epoxy/gl.h>

#include "sim/TextureBinding.h"

#include "platform/gl/RenderContext.h"

TextureBinding::TextureBinding(GlTexture& texture, int unit) : texture(texture), unit(unit)
{
    if (CurrentRenderContextSerial() == 0)
        return;
    if (unit >= 0)
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    if (!texture.Exists()) {
        texture.Upload(nullptr);
        if (unit >= 0)
            glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    }
    glBindTexture(texture.Target(), texture.Name());
    bound = true;
}

TextureBinding::~TextureBinding()
{
    if (!bound)
        return;
    if (unit >= 0)
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(texture.Target(), 0);
}
