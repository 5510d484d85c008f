# The Debian package of PELK (`make package`, or `cpack -G DEB` in a build
# tree): everything `cmake --install` installs, under /usr. The libraries the
# programs link are found by dpkg-shlibdeps (Debian package dpkg-dev) and
# become the package's dependencies; what the programs only start or load
# by name is declared here: Qt Assistant, the help viewer of Help >
# Contents, and, recommended, fonts metric-compatible with Arial, the font
# of the report and the tool bars.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ZAV)
# No mail address is published for PELK yet: the maintainer is named only.
set(CPACK_PACKAGE_CONTACT "ZAV, the makers of PELK")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maximum-likelihood estimation of models written as formulas")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "PELK estimates the parameters of statistical models that an analyst writes as formulas, by maximum "
    "likelihood: multinomial and normal likelihoods, estimability, covariance, delta-method and "
    "profile-likelihood intervals. The package holds the desktop program pelk, with its help, and the "
    "command-line program pelk-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # pelk_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS assistant-qt6)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)

include(CPack)
