#pragma once

namespace celvane {

// Tells the graphic list about the kinds this library reads (GIF, PNG and JPEG pictures, RISC OS
// sprite files, Drawfiles, metafiles). The program, the batch tool and the tests call it once at
// start-up.
void registerImportKinds();

} // namespace celvane
