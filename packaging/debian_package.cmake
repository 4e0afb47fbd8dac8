# `cpack -G DEB` in the build tree: three Debian packages, as Debian splits a program
# with a public library.
#   lumetra        the programs, limit files, examples, help, desktop entry, manuals
#   libvelkor1     the kernel library's runtime (libvelkor.so.1)
#   libvelkor-dev  velkor.h, the link-time libvelkor.so, velkor.pc and the CMake package
# The package dependencies (Qt 6, OpenBLAS, the C++ runtime) are read from the binaries
# by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME lumetra)
set(CPACK_PACKAGE_VENDOR "Lumetra")
# A packager sets their own address: cmake -DCPACK_PACKAGE_CONTACT="Name <address>".
if(NOT CPACK_PACKAGE_CONTACT)
  set(CPACK_PACKAGE_CONTACT "Lumetra developers <lumetra-dev@example.org>")
endif()
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# No common summary: each package's description begins with its own synopsis line.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL lumetra libvelkor1 libvelkor-dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
find_program(LUMETRA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LUMETRA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # libvelkor.so.1 is not installed on the packaging machine: dpkg-shlibdeps finds it
  # in the build tree, and the component dependency below names its package.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
else()
  message(STATUS "dpkg-shlibdeps not found: the Debian packages will list no dependencies")
endif()
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_COMPONENT_LUMETRA_DEPENDS libvelkor1)
set(CPACK_DEBIAN_LUMETRA_PACKAGE_NAME lumetra)
set(CPACK_COMPONENT_LUMETRA_DESCRIPTION
  "radiated emission of PCB traces by the method of moments
Lumetra analyses the radiated emission and the susceptibility of
printed-circuit-board traces by the method of moments: traces drawn on a snap
grid with voltage sources, loads and ground points, over free space, a ground
plane or a dielectric slab; currents, far and near fields over a frequency
sweep or under plane-wave illumination, and the emission at a test site
against CISPR 32 and FCC limits.

This package holds the desktop program lumetra, the headless runner
lumetra-cli, the limit lines and the example projects.")

set(CPACK_DEBIAN_LIBVELKOR1_PACKAGE_NAME libvelkor1)
set(CPACK_DEBIAN_LIBVELKOR1_PACKAGE_SECTION libs)
# A shlibs file for the library's package (only packages with a shared library get
# one), so that other packages built against it depend on libvelkor1.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# dpkg refreshes the loader's cache through the ldconfig trigger. (CPack also writes
# postinst and postrm scripts that call ldconfig; with the trigger that is redundant
# and harmless.)
set(CPACK_DEBIAN_LIBVELKOR1_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_LIST_DIR}/debian-libvelkor1/triggers)
set(CPACK_DEBIAN_LIBVELKOR1_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENT_LIBVELKOR1_DESCRIPTION
  "spectral-domain kernels of a grounded dielectric slab
velkor computes the interaction integrals and far fields of horizontal
current elements on a grounded dielectric slab by spectral-domain
integration, behind a plain C interface.

This package holds the shared library.")

set(CPACK_COMPONENT_LIBVELKOR-DEV_DEPENDS libvelkor1)
set(CPACK_DEBIAN_LIBVELKOR-DEV_PACKAGE_NAME libvelkor-dev)
set(CPACK_DEBIAN_LIBVELKOR-DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_LIBVELKOR-DEV_DESCRIPTION
  "spectral-domain kernels of a grounded dielectric slab (development files)
velkor computes the interaction integrals and far fields of horizontal
current elements on a grounded dielectric slab by spectral-domain
integration, behind a plain C interface.

This package holds the header velkor.h and what links a program against the
library: pkg-config (velkor) and a CMake package (find_package(velkor), target
velkor::velkor).")

include(CPack)
