// Resource ids shared by the program and the language libraries.
#pragma once
