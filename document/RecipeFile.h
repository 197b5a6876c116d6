// Recipe files: a recipe as a small TOML file.
//
//     version = 1
//     print-size = "6x4in"          # or dpi = 300; optional
//     seed = 7                      # optional
//
//     [[group]]                     # one per frame group, in order
//     commands = ["rotate right", "gray", "resize 1200x800", "crop 10,10,1190,790"]
//     style = "matte"
//     frame-color = "F0E8D8"
//     frame-height = "5%"           # a length: "5%", "12mm", "0.5in", or pixels as 40
//     frame-bottom = "8%"
//     border-width = 1
//     pattern = "Patterns/Oak.bmp"
//     scaled = false
//
// The keys of a group are quillon-frame's frame options without their
// dashes. Reading refuses unknown keys, wrong types, unknown styles and
// values out of range with the file's name and line.
#pragma once

#include "document/Recipe.h"

#include <string>

namespace quillon {

// Reads a recipe; throws RecipeError "FILE:LINE: what is wrong".
Recipe LoadRecipe(const std::string& fileName);
// The same from text; name stands for the file in messages.
Recipe ParseRecipe(const std::string& text, const std::string& name);
// The recipe as a file's text; reading it back gives the same recipe.
std::string RecipeText(const Recipe& recipe);
// Writes the recipe, replacing fileName only once the new file is complete.
void SaveRecipe(const Recipe& recipe, const std::string& fileName);

} // namespace quillon
