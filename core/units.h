// Start and shut-down entries of the units (internal). The package table in
// package.cpp lists them in start order; each unit defines its pair in
// <unit>_unit.cpp and guards its work with a TUnitStartCounter. Parts of that
// work that must live beside state private to another source are declared
// here too.
#pragma once

namespace orv::detail {

// Start work runs only when the counter was 0, shut-down work only when it was
// -1: a second Initialize without Finalize does nothing, and one start is
// undone by exactly one shut-down.
class TUnitStartCounter {
 public:
  bool Enter() { return FCount-- == 0; }
  bool Leave() { return FCount++ == -1; }

 private:
  int FCount = 0;
};

void Math1Initialization();
void Math1Finalization();
void Math1RandomStart();  // the generators' part of the start work (math1_random.cpp)
void ComplexInitialization();
void ComplexFinalization();

void MatrixInitialization();
void MatrixFinalization();

void DatatableInitialization();
void DatatableFinalization();

void Math2Initialization();
void Math2Finalization();

void MemblInitialization();
void MemblFinalization();

void KohonenInitialization();
void KohonenFinalization();

}  // namespace orv::detail
