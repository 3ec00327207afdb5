// Writes the 100-node, 197-element Howe truss as a Vortak model (howe.vok) and as an
// equivalent input deck for a general finite-element solver (howe.inp: two-node truss
// elements, out-of-plane displacements fixed), for the end-to-end comparison in README.md;
// with --batch COUNT FOLDER, COUNT variants of it for the batch benchmark.

#include <cstdio>
#include <fstream>
#include <string>

#include "graphics/view_transform.h"
#include "howe_truss.h"
#include "model/model_file.h"
#include "settings/view_settings.h"

using namespace vortak;

// howe-00001.vok ... : `count` different trusses of the same size for batch runs, each with
// its own height and loads, numbered along the span and chord by chord in turn.
int writeBatch(const std::string& folder, int count) {
    for (int k = 1; k <= count; ++k) {
        Model m = bench::howeTruss(k % 2 == 1);
        const float height = 2.5f + 0.001f * float(k % 1000);
        for (int n = 1; n <= m.nodeCount; ++n) {
            if (m.nodes.y[n] != 0) m.nodes.y[n] = height;
            if (m.nodes.Fy[n] != 0) m.nodes.Fy[n] = -10.0f - float(k % 97);
        }
        char name[32];
        std::snprintf(name, sizeof name, "/howe-%05d.vok", k);
        std::ofstream(folder + name, std::ios::binary)
            << modelFileText(m, ViewSettings{}, ViewTransform{});
    }
    std::printf("wrote %d models to %s\n", count, folder.c_str());
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--batch")
        return writeBatch(argv[3], std::stoi(argv[2]));
    const std::string folder = argc > 1 ? argv[1] : ".";
    const Model m = bench::howeTruss(true);
    std::ofstream(folder + "/howe.vok", std::ios::binary)
        << modelFileText(m, ViewSettings{}, ViewTransform{});

    std::ofstream inp(folder + "/howe.inp");
    inp << "*HEADING\nHowe truss, 49 panels\n*NODE, NSET=NALL\n";
    for (int n = 1; n <= m.nodeCount; ++n) {
        inp << n << ", " << m.nodes.x[n] << ", " << m.nodes.y[n] << ", 0\n";
    }
    inp << "*ELEMENT, TYPE=T3D2, ELSET=EALL\n";
    for (int e = 1; e <= m.elementCount; ++e) {
        inp << e << ", " << m.nodeI(e) << ", " << m.nodeJ(e) << "\n";
    }
    inp << "*MATERIAL, NAME=STEEL\n*ELASTIC\n" << m.groups.E[1] << ", 0.3\n";
    inp << "*SOLID SECTION, ELSET=EALL, MATERIAL=STEEL\n" << m.groups.A[1] << "\n";
    inp << "*BOUNDARY\nNALL, 3, 3\n";
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (m.nodes.cx[n] == 1.0f) inp << n << ", 1, 1\n";
        if (m.nodes.cy[n] == 1.0f) inp << n << ", 2, 2\n";
    }
    inp << "*STEP\n*STATIC\n*CLOAD\n";
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (m.nodes.Fy[n] != 0.0f) inp << n << ", 2, " << m.nodes.Fy[n] << "\n";
    }
    inp << "*NODE PRINT, NSET=NALL\nU\n*NODE PRINT, NSET=NALL\nRF\n*EL PRINT, ELSET=EALL\nS\n"
           "*END STEP\n";
    std::printf("wrote %s/howe.vok and %s/howe.inp\n", folder.c_str(), folder.c_str());
    return 0;
}
