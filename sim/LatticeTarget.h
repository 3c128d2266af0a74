// A whole lattice in graphics memory: three float rectangle textures on one
// framebuffer object, one texel of the three holding one cell.  Texture k,
// channel c holds the direction e = (c - 1, 1 - k).
#pragma once

#include <cstdint>

class LatticeTarget {
public:
    LatticeTarget() = default;
    ~LatticeTarget();
    LatticeTarget(const LatticeTarget&) = delete;
    LatticeTarget& operator=(const LatticeTarget&) = delete;

    // Returns false when the framebuffer is incomplete or no context is current.
    bool Create(int width, int height);
    void Destroy();

    // Framebuffer with the three attachments as draw buffers 0, 1, 2;
    // viewport over the lattice, projection in cells, identity model-view.
    void BindAsTarget() const;
    // Texture k on unit k, k = 0, 1, 2.
    void BindAsInput() const;
    // Unbinds units 2, 1, 0; unit 0 stays active.
    static void UnbindInputs();

    uint32_t Framebuffer() const { return framebuffer; }
    uint32_t Texture(int k) const { return textures[k]; }
    int Width() const { return width; }
    int Height() const { return height; }

private:
    uint32_t framebuffer = 0;
    uint32_t textures[3] = {0, 0, 0};
    int width = 0;
    int height = 0;
    uint64_t contextSerial = 0;
};
