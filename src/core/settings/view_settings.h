#pragma once

// The display options of the drawing area. One instance is current; the settings store
// provides program defaults and every model file carries a full copy. Field names are
// the keys of the store and the model file.

#include <cstdint>

#include "base/colour.h"

namespace vortak {

// The value -2147483648 + 14 of the store: the desktop's highlighted-text colour.
inline constexpr Colour kHighlightTextColour = kSystemColourFlag | 14u;

// The view of the drawing area as a model file carries it beside the display options:
// the scale (100 x model length units per centimetre) and the offsets in centimetres.
struct ViewValues {
    static constexpr float kDefaultScale = 100.0f;
    static constexpr double kDefaultOffsetX = -2.0;
    static constexpr double kDefaultOffsetY = 2.0;

    float scale = kDefaultScale;
    double offsetX = kDefaultOffsetX;
    double offsetY = kDefaultOffsetY;
};

struct ViewSettings {
    bool nai_aksones = true;                // axes symbol at the origin
    bool nai_grid = true;                   // grid
    float kannab = 1.0f;                    // grid spacing and snap step, model units
    bool nai_komboi = true;                 // node circles
    bool nai_arithmisi_kombon = true;       // node numbers
    bool nai_desmefseis = true;             // constraints
    bool nai_graf_stir = true;              // constraints as support symbols (else x/o code)
    bool nai_sint_kombon = false;           // node coordinates
    bool nai_springs = true;                // springs
    bool nai_stoixeia = true;               // element lines
    bool nai_arithmisi_stoixeion = true;    // element numbers
    bool nai_omades = false;                // element group numbers
    bool nai_miki = false;                  // element lengths
    bool nai_fortiseis_si = true;           // load arrows
    bool nai_times_fortiseon_si = true;     // load values
    bool nai_times_N = true;                // values on the [N] diagram
    bool N_sin_Ina = true;                  // [N] diagram: positive on the right of i->j
    float Ena_cm_posa_FORCE = 100.0f;       // force units per cm of diagram
    float Ena_cm_posa_STRESS = 10000.0f;    // stress units per cm
    float Ena_cm_posa_STRAIN = 0.0001f;     // strain per cm
    float Ena_cm_posa_m_epi_1000 = 100.0f;  // deformation magnified by 1000 / this
    std::int16_t Animation_Frames = 100;    // frames per half-cycle
    std::int16_t dekadika_N = 3;            // decimals of forces and stresses
    std::int16_t dekadika_strain = 7;       // decimals of strains
    Colour xroma_background = kHighlightTextColour;
    Colour xroma_aksonon = packColour(0, 0, 128);
    Colour xroma_grid = packColour(224, 224, 224);
    Colour xroma_stoixeion = packColour(0, 0, 0);
    Colour xroma_kombon = packColour(0, 0, 255);
    Colour xroma_sigkentromenon = packColour(0, 164, 0);
    Colour xroma_paramorfosis = packColour(0, 0, 255);
    Colour Xroma_Efelkismou = packColour(0, 0, 255);      // tension
    Colour Xroma_Thlipsis = packColour(255, 0, 0);        // compression
    Colour Xroma_Afortistou = packColour(255, 255, 255);  // zero force
    Colour xroma_N = packColour(45, 134, 43);
    bool Nai_Apolites_Sint = false;  // absolute pointer coordinates while drawing
    bool Nai_Sxetikes_Sint = true;   // coordinates relative to node i while drawing
    bool Show_FORCE = true;
    bool Show_STRESS = false;
    bool Show_STRAIN = false;

    bool operator==(const ViewSettings&) const = default;
};

}  // namespace vortak
