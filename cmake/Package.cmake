# The Debian package of the game: `cpack -G DEB` in the build folder makes
# vernadora_VERSION_ARCH.deb from the install rules of the game's layout for Debian: the "game"
# component (the data folder, the icon, the menu and AppStream entries' shared files, the manual
# page, the documents) and the "games" one (/usr/games/vernadora, the menu entry that starts it
# by that path). The program is stripped; the libraries it links give its dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vernadora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${VERN_PACKAGE_PREFIX})
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};vernadora;game;/"
                                 "${CMAKE_BINARY_DIR};vernadora;games;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VERN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries (dpkg-shlibdeps), and what the game needs that no library names: a Qt platform
# plugin to open its window, and the two IPA fonts it draws its Japanese text with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho")
# The music and the effects decode and play through GStreamer: without these the game is silent.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-pulseaudio")

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "story-driven, turn-based battle game in Japanese")
set(CPACK_PACKAGE_DESCRIPTION
    "ヴェルナドーラ演義 (Vernadora Engi) is a single-player, story-driven,
turn-based battle game, written in Japanese. Roll a party of five and fight
random encounters in which every unit's hit points are at once its power and
its speed; recruit the units you defeat, discover the sixteen wishes, and
follow a story of 39 scenes told step by step.

Every action has a key as well as a click. The game keeps a quick save, three
rotating autosaves and twenty records of the player's own, and its window
scales to any size.")

include(CPack)
