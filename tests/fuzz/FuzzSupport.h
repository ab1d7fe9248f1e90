#pragma once
// What the fuzz targets share: the entry point they define, a check that stops the run on a
// broken promise, the application's database schema and an offscreen application for controls.
#include <cstddef>
#include <cstdint>

class TSQLiteDatabase;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

// A promise of the code under test that the input broke: reported, then the run aborts, so the
// fuzzer saves the input and the corpus replay fails.
[[noreturn]] void FuzzFailure(const char* Condition, const char* File, int Line);
#define FUZZ_CHECK(Condition) ((Condition) ? void(0) : FuzzFailure(#Condition, __FILE__, __LINE__))

// Creates the application's tables in an empty database, as the program does for a new file.
void CreateFuzzSchema(TSQLiteDatabase& Database);

// The one offscreen QApplication of the process, made on first use; errors that reach the
// application are dropped instead of shown in a message box.
void EnsureFuzzApplication();
