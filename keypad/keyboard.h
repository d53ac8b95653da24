#pragma once

// The keyboard table: one table of 16-bit values serves typed characters and
// the virtual-key codes of key-down and key-up.

#include "keytable.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace pellix {

struct KeyboardEntry {
    std::uint16_t Value;
    std::string_view Control;
};

// Every value that selects a hot spot. As characters: backspace, carriage
// return, * + , - . /, the digits, the letters of the face, the grave accent
// and "a" to "o", "r" to "z". As virtual keys: the same values are Back,
// Return, Print, Execute, Snapshot, Insert, Delete, Help, the main digit keys,
// letter keys, the numeric keypad and F3 to F11.
inline constexpr auto KeyboardTable = std::to_array<KeyboardEntry>({
    {0x08, "imBack"}, {0x0D, "imEnter"}, {0x2A, "imMul"},   {0x2B, "imAdd"}, {0x2C, "imPt"},
    {0x2D, "imSub"},  {0x2E, "imPt"},    {0x2F, "imDiv"},   {0x30, "im0"},   {0x31, "im1"},
    {0x32, "im2"},    {0x33, "im3"},     {0x34, "im4"},     {0x35, "im5"},   {0x36, "im6"},
    {0x37, "im7"},    {0x38, "im8"},     {0x39, "im9"},     {0x43, "imChs"}, {0x45, "imEex"},
    {0x46, "imF"},    {0x47, "imG"},     {0x49, "imInv"},   {0x4C, "imExp"}, {0x52, "imRCL"},
    {0x53, "imSTO"},  {0x54, "imTan"},   {0x55, "imSin"},   {0x56, "imCos"}, {0x57, "imSqrt"},
    {0x58, "imExg"},  {0x59, "imPwr"},   {0x5A, "imPwr10"}, {0x60, "im0"},   {0x61, "im1"},
    {0x62, "im2"},    {0x63, "im3"},     {0x64, "im4"},     {0x65, "im5"},   {0x66, "im6"},
    {0x67, "im7"},    {0x68, "im8"},     {0x69, "im9"},     {0x6A, "imMul"}, {0x6B, "imAdd"},
    {0x6C, "imExp"},  {0x6D, "imSub"},   {0x6E, "imPt"},    {0x6F, "imDiv"}, {0x72, "imRCL"},
    {0x73, "imSTO"},  {0x74, "imTan"},   {0x75, "imSin"},   {0x76, "imCos"}, {0x77, "imSqrt"},
    {0x78, "imExg"},  {0x79, "imPwr"},   {0x7A, "imPwr10"},
});

// The hot spot of a typed character or virtual-key code, or nullptr.
const FaceKey* KeyToSender(std::uint16_t value);

} // namespace pellix
