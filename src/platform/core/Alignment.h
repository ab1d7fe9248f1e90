#pragma once
// Horizontal alignment of text in a control, a column or a field.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
