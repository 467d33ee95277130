@echo off
rem Creates the directory database of the LDAP service on first installation.
echo created %date% %time% > "%~dp0created.txt"
