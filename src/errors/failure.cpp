#include "errors/failure.h"

#include <filesystem>
#include <ios>
#include <new>
#include <stdexcept>
#include <system_error>
#include <typeinfo>
#include <variant>

#include "text/cp1252.h"

namespace morlane {

Failure ToFailure(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Failure& f) {
    return f;
  } catch (const std::bad_alloc&) {
    return {errnum::kOutOfMemory, "Out of memory"};
  } catch (const std::out_of_range&) {
    return Failure::SubscriptOutOfRange();
  } catch (const std::overflow_error&) {
    return Failure::Overflow();
  } catch (const std::underflow_error&) {
    return Failure::Overflow();
  } catch (const std::range_error&) {
    return Failure::Overflow();
  } catch (const std::filesystem::filesystem_error& e) {
    // Named like the failures of a write, so the report says which file.
    Failure f = Failure::PathFileAccess();
    if (!e.path1().empty()) f.description += ": " + text::EscapeLineBreaks(e.path1().string());
    // Where the file services say why, so does the report: never "File not found" for a file
    // that exists.
    if (e.code() == std::errc::illegal_byte_sequence) {
      f.description += " (the name holds characters the system's code page cannot represent)";
    } else if (e.code() == std::errc::filename_too_long) {
      f.description += " (the path is too long)";
    } else if (e.code() == std::make_error_code(std::errc::device_or_resource_busy)) {
      // A store that waited in vain for the writers' lock of the file. Compared exactly: a
      // system's own "busy" (a file another program holds open) says nothing about our lock.
      f.description += " (the project is in use: another run holds this file's lock)";
    }
    return f;
  } catch (const std::ios_base::failure&) {
    return Failure::PathFileAccess();
  } catch (const std::bad_cast&) {
    return Failure::TypeMismatch();
  } catch (const std::bad_variant_access&) {
    return Failure::TypeMismatch();
  } catch (const std::exception&) {
    return Failure::InvalidArgument();
  } catch (...) {
    return Failure::InvalidArgument();
  }
}

}  // namespace morlane
